#include <algorithm>
#include <cstdlib>

#include "imaging/dib_filters.h"

namespace vistrel::imaging {
namespace {

struct CrossWeights {
  int earlierLeft, earlierRight, laterLeft, laterRight, centre;
  int divisor;  // their sum, or 1 when that is 0
};

std::uint8_t clampToByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// Columns [from, to) of one row, left to right, each byte written back at
// once. Rows whose taps include the row itself (the first and the last) need
// this order: a tap to the left reads the new value, one to the right the old.
void filterInOrder(const CrossWeights& w, const std::uint8_t* earlier, const std::uint8_t* later, std::uint8_t* row,
                   int from, int to, int distance, int lastColumn, int bytes) {
  const int channels = bytes == 1 ? 1 : 3;
  for (int x = from; x < to; ++x) {
    const int left = std::clamp(x - distance, 0, lastColumn) * bytes;
    const int right = std::clamp(x + distance, 0, lastColumn) * bytes;
    std::uint8_t* p = row + x * bytes;
    for (int c = 0; c < channels; ++c) {
      const int v = w.earlierLeft * earlier[left + c] + w.earlierRight * earlier[right + c] +
                    w.laterLeft * later[left + c] + w.laterRight * later[right + c] + w.centre * p[c];
      p[c] = clampToByte(v / w.divisor);
    }
  }
}

// v / divisor truncated toward zero and limited to 0..255, by a multiply.
// Only quotients 0..255 must be exact: with m = ceil(2^23 / |divisor|) the
// error of n * m / 2^23 is below n * |divisor| / 2^23 / |divisor|, under one
// step of the quotient for n < 256 |divisor| when |divisor| <= 128; larger n
// are cut to 256 |divisor| first, which keeps the product within 32 bits and
// the quotient at 256 or more.
struct ByteQuotient {
  static constexpr int kShift = 23;
  static bool fits(const CrossWeights& w) {
    const int weights[] = {w.earlierLeft, w.earlierRight, w.laterLeft, w.laterRight, w.centre};
    return std::abs(w.divisor) <= 128 &&
           std::all_of(std::begin(weights), std::end(weights), [](int k) { return std::abs(k) <= 1 << 16; });
  }

  explicit ByteQuotient(int divisor)
      : negative(divisor < 0),
        limit(256 * std::abs(divisor)),
        multiplier(((1u << kShift) + static_cast<std::uint32_t>(std::abs(divisor)) - 1) /
                   static_cast<std::uint32_t>(std::abs(divisor))) {}

  std::uint8_t operator()(int v) const {
    const int n = std::clamp(negative ? -v : v, 0, limit);
    return static_cast<std::uint8_t>(std::min((static_cast<std::uint32_t>(n) * multiplier) >> kShift, 255u));
  }

  bool negative;
  int limit;
  std::uint32_t multiplier;
};

// The bytes [begin, end) of a row whose taps lie in other rows, all at the
// same distance: every byte depends only on rows already finished or not yet
// touched and on itself, so the loop has no order and vectorises.
void filterApart(const CrossWeights& w, const ByteQuotient& quotient, const std::uint8_t* __restrict earlier,
                 const std::uint8_t* __restrict later, std::uint8_t* __restrict row, std::size_t begin,
                 std::size_t end, std::size_t offset) {
  for (std::size_t k = begin; k < end; ++k) {
    row[k] = quotient(w.earlierLeft * earlier[k - offset] + w.earlierRight * earlier[k + offset] +
                      w.laterLeft * later[k - offset] + w.laterRight * later[k + offset] + w.centre * row[k]);
  }
}

}  // namespace

void FilterCross(const PixelRows& picture, int distance, int earlierLeft, int earlierRight, int laterLeft,
                 int laterRight, int centre) {
  const int bytes = picture.bytesPerPixel;
  if (bytes != 1 && bytes != 3 && bytes != 4) return;
  const int sum = earlierLeft + earlierRight + laterLeft + laterRight + centre;
  // At distance 0 every tap is the pixel itself: the weights' sum times P,
  // divided by that sum.
  if (distance == 0 && sum != 0) return;
  const CrossWeights w{earlierLeft, earlierRight, laterLeft, laterRight, centre, sum == 0 ? 1 : sum};
  const int lastRow = picture.height() - 1;
  const int lastColumn = picture.width - 1;
  // Byte-wise work would also write the fourth byte of 32-bit pixels.
  const bool apart = bytes != 4 && ByteQuotient::fits(w) && distance > 0 && distance <= lastColumn / 2;
  const ByteQuotient quotient(w.divisor);
  for (int n = 0; n <= lastRow; ++n) {
    const int e = std::clamp(n - distance, 0, lastRow), l = std::clamp(n + distance, 0, lastRow);
    const std::uint8_t* earlier = picture.rows[static_cast<std::size_t>(e)];
    const std::uint8_t* later = picture.rows[static_cast<std::size_t>(l)];
    std::uint8_t* row = picture.rows[static_cast<std::size_t>(n)];
    if (!apart || e == n || l == n) {
      filterInOrder(w, earlier, later, row, 0, lastColumn + 1, distance, lastColumn, bytes);
      continue;
    }
    const auto offset = static_cast<std::size_t>(distance * bytes);
    filterInOrder(w, earlier, later, row, 0, distance, distance, lastColumn, bytes);
    filterApart(w, quotient, earlier, later, row, offset, static_cast<std::size_t>(lastColumn - distance + 1) * bytes,
                offset);
    filterInOrder(w, earlier, later, row, lastColumn - distance + 1, lastColumn + 1, distance, lastColumn, bytes);
  }
}

void FilterCross(TFastDIB& dib, int distance, int earlierLeft, int earlierRight, int laterLeft, int laterRight,
                 int centre) {
  FilterCross(rowsOf(dib), distance, earlierLeft, earlierRight, laterLeft, laterRight, centre);
}

void SharpenCross(const PixelRows& picture, int distance) { FilterCross(picture, distance, 1, 1, 1, 1, -10); }
void SharpenCross(TFastDIB& dib, int distance) { SharpenCross(rowsOf(dib), distance); }

}  // namespace vistrel::imaging
