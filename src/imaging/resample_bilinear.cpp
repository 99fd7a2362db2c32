#include <cstddef>

#include "imaging/dib_filters.h"

namespace vistrel::imaging {
namespace {

struct Weights {
  std::uint32_t ai, aj, bi, bj;
};

inline std::uint8_t blend(const Weights& w, std::uint32_t ai, std::uint32_t aj, std::uint32_t bi, std::uint32_t bj) {
  return static_cast<std::uint8_t>((w.ai * ai + w.aj * aj + w.bi * bi + w.bj * bj) >> 16);
}

// A 16-bit pixel's channel, widened to 8 bits, and back.
inline std::uint32_t widen(std::uint32_t pixel, int shift, int bits, int expand) {
  return ((pixel >> shift) & ((1u << bits) - 1)) << expand;
}

inline std::uint16_t read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

void blend16(const TFastDIB& dib, const Weights& w, const std::uint8_t* ai, const std::uint8_t* aj,
             const std::uint8_t* bi, const std::uint8_t* bj, std::uint8_t* out) {
  const std::uint32_t pa = read16(ai), pb = read16(aj), pc = read16(bi), pd = read16(bj);
  const int shifts[3] = {0, dib.GreenShift, dib.RedShift};
  const int bits[3] = {dib.BlueBits, dib.GreenBits, dib.RedBits};
  const int expands[3] = {dib.BlueExpand, dib.GreenExpand, dib.RedExpand};
  std::uint32_t pixel = 0;
  for (int c = 0; c < 3; ++c) {
    const std::uint8_t v = blend(w, widen(pa, shifts[c], bits[c], expands[c]), widen(pb, shifts[c], bits[c], expands[c]),
                                 widen(pc, shifts[c], bits[c], expands[c]), widen(pd, shifts[c], bits[c], expands[c]));
    pixel |= static_cast<std::uint32_t>(v >> expands[c]) << shifts[c];
  }
  out[0] = static_cast<std::uint8_t>(pixel);
  out[1] = static_cast<std::uint8_t>(pixel >> 8);
}

}  // namespace

void ResampleBilinear(const TFastDIB& source, TFastDIB& result) {
  const int depth = result.BitCount;
  if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return;
  if (source.Width <= 0 || source.AbsHeight <= 0 || result.Width <= 0 || result.AbsHeight <= 0) return;
  const std::size_t bytes = depth / 8u;
  const std::uint32_t lastColumn = static_cast<std::uint32_t>(source.Width) - 1;
  const std::uint32_t lastRow = static_cast<std::uint32_t>(source.AbsHeight) - 1;
  // 64-bit positions: a source of more than 65536 rows or columns would wrap
  // a 32-bit 16.16 accumulator.
  const std::uint64_t columnStep = (std::uint64_t{lastColumn} << 16) / static_cast<std::uint32_t>(result.Width);
  const std::uint64_t rowStep = (std::uint64_t{lastRow} << 16) / static_cast<std::uint32_t>(result.AbsHeight);

  std::uint8_t* out = result.Bits;
  std::uint64_t sy = 0;
  for (int r = 0; r < result.AbsHeight; ++r, sy += rowStep) {
    const auto a = static_cast<std::uint32_t>(sy >> 16);
    const std::uint32_t b = a < lastRow ? a + 1 : a;
    const auto fy = static_cast<std::uint32_t>(sy & 0xFFFF);
    const std::uint32_t wa = 65536 - fy;
    const std::uint32_t wb = fy + 1;
    const std::uint8_t* rowA = source.Rows[a];
    const std::uint8_t* rowB = source.Rows[b];
    std::uint64_t sx = 0;
    for (int c = 0; c < result.Width; ++c, sx += columnStep, out += bytes) {
      const auto i = static_cast<std::uint32_t>(sx >> 16);
      const std::uint32_t j = i < lastColumn ? i + 1 : i;
      const auto fx = static_cast<std::uint32_t>(sx & 0xFFFF);
      Weights w;
      w.aj = (wa * fx) >> 16;
      w.ai = wa - w.aj;
      w.bj = (wb * fx) >> 16;
      w.bi = wb - w.bj;
      const std::uint8_t* ai = rowA + i * bytes;
      const std::uint8_t* aj = rowA + j * bytes;
      const std::uint8_t* bi = rowB + i * bytes;
      const std::uint8_t* bj = rowB + j * bytes;
      if (depth == 16) {
        blend16(source, w, ai, aj, bi, bj, out);
        continue;
      }
      const std::size_t channels = depth == 8 ? 1 : 3;
      for (std::size_t k = 0; k < channels; ++k) out[k] = blend(w, ai[k], aj[k], bi[k], bj[k]);
    }
    out += result.RowGap;
  }
}

}  // namespace vistrel::imaging
