#include <cstddef>

#include "imaging/dib_filters.h"
#include "imaging/pixel_rows.h"

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
  return ((pixel >> shift) & lowMask(bits)) << expand;
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

// The 16.16 positions of every result pixel, with the source rows and columns
// it blends; `blendPixel(weights, rowA, rowB, columnI, columnJ, out)` makes one pixel.
template <class BlendPixel>
void forEachSample(int sourceWidth, int sourceHeight, const std::vector<std::uint8_t*>& resultRows, int resultWidth,
                   std::size_t bytes, BlendPixel blendPixel) {
  const int resultHeight = static_cast<int>(resultRows.size());
  const std::uint32_t lastColumn = static_cast<std::uint32_t>(sourceWidth) - 1;
  const std::uint32_t lastRow = static_cast<std::uint32_t>(sourceHeight) - 1;
  // 64-bit positions: a source of more than 65536 rows or columns would wrap
  // a 32-bit 16.16 accumulator.
  const std::uint64_t columnStep = (std::uint64_t{lastColumn} << 16) / static_cast<std::uint32_t>(resultWidth);
  const std::uint64_t rowStep = (std::uint64_t{lastRow} << 16) / static_cast<std::uint32_t>(resultHeight);
  std::uint64_t sy = 0;
  for (int r = 0; r < resultHeight; ++r, sy += rowStep) {
    const auto a = static_cast<std::uint32_t>(sy >> 16);
    const std::uint32_t b = a < lastRow ? a + 1 : a;
    const auto fy = static_cast<std::uint32_t>(sy & 0xFFFF);
    const std::uint32_t wa = 65536 - fy;
    const std::uint32_t wb = fy + 1;
    std::uint8_t* out = resultRows[static_cast<std::size_t>(r)];
    std::uint64_t sx = 0;
    for (int c = 0; c < resultWidth; ++c, sx += columnStep, out += bytes) {
      const auto i = static_cast<std::uint32_t>(sx >> 16);
      const std::uint32_t j = i < lastColumn ? i + 1 : i;
      const auto fx = static_cast<std::uint32_t>(sx & 0xFFFF);
      Weights w;
      w.aj = (wa * fx) >> 16;
      w.ai = wa - w.aj;
      w.bj = (wb * fx) >> 16;
      w.bi = wb - w.bj;
      blendPixel(w, a, b, i * bytes, j * bytes, out);
    }
  }
}

}  // namespace

void ResampleBilinear(const ConstPixelRows& source, const PixelRows& result) {
  if (source.bytesPerPixel != result.bytesPerPixel || source.width <= 0 || source.height() <= 0 ||
      result.width <= 0 || result.height() <= 0) {
    return;
  }
  const std::size_t channels = result.bytesPerPixel == 1 ? 1 : 3;
  forEachSample(source.width, source.height(), result.rows, result.width, static_cast<std::size_t>(result.bytesPerPixel),
                [&](const Weights& w, std::uint32_t a, std::uint32_t b, std::size_t i, std::size_t j, std::uint8_t* out) {
                  const std::uint8_t* rowA = source.rows[a];
                  const std::uint8_t* rowB = source.rows[b];
                  for (std::size_t k = 0; k < channels; ++k) {
                    out[k] = blend(w, rowA[i + k], rowA[j + k], rowB[i + k], rowB[j + k]);
                  }
                });
}

void ResampleBilinear(const TFastDIB& source, TFastDIB& result) {
  if (source.BitCount != result.BitCount) return;
  if (result.BitCount != 16) {
    ResampleBilinear(rowsOf(source), rowsOf(result));
    return;
  }
  if (source.Width <= 0 || source.AbsHeight <= 0 || result.Width <= 0 || result.AbsHeight <= 0) return;
  forEachSample(source.Width, source.AbsHeight, result.Rows, result.Width, 2,
                [&](const Weights& w, std::uint32_t a, std::uint32_t b, std::size_t i, std::size_t j, std::uint8_t* out) {
                  const std::uint8_t* rowA = source.Rows[a];
                  const std::uint8_t* rowB = source.Rows[b];
                  blend16(source, w, rowA + i, rowA + j, rowB + i, rowB + j, out);
                });
}

}  // namespace vistrel::imaging
