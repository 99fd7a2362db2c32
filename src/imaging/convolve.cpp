#include <algorithm>

#include "imaging/bitmap_filters.h"
#include "imaging/dib_transfer.h"

namespace vistrel::imaging {

void ConvolveBitmap(TBitmap& bitmap, const std::array<int, 9>& kernel, int divisor) {
  if (divisor == 0) divisor = 1;
  TBitmap copy;
  CopyToBitmap24(copy, bitmap);
  for (int y = 1; y < bitmap.Height() - 1; ++y) {
    const std::uint8_t* rows[3] = {copy.ScanLine(y - 1), copy.ScanLine(y), copy.ScanLine(y + 1)};
    std::uint8_t* out = bitmap.ScanLine(y);
    for (int x = 1; x < bitmap.Width() - 1; ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int k = 0; k < 9; ++k) sum += kernel[static_cast<std::size_t>(k)] * rows[k / 3][3 * (x - 1 + k % 3) + c];
        const int value = sum / divisor;
        out[3 * x + c] = static_cast<std::uint8_t>(value > 254 ? 255 : value < 1 ? 0 : value);
      }
    }
  }
}

TBitmap& SharpenBitmap(TBitmap& bitmap) {
  ConvolveBitmap(bitmap, {-1, -1, -1, -1, 16, -1, -1, -1, -1}, 8);
  return bitmap;
}

}  // namespace vistrel::imaging
