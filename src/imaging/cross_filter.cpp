#include <algorithm>

#include "imaging/dib_filters.h"

namespace vistrel::imaging {

void FilterCross(const PixelRows& picture, int distance, int earlierLeft, int earlierRight, int laterLeft,
                 int laterRight, int centre) {
  const int bytes = picture.bytesPerPixel;
  if (bytes != 1 && bytes != 3 && bytes != 4) return;
  int divisor = earlierLeft + earlierRight + laterLeft + laterRight + centre;
  if (divisor == 0) divisor = 1;
  const int channels = bytes == 1 ? 1 : 3;
  const int lastRow = picture.height() - 1;
  const int lastColumn = picture.width - 1;
  for (int n = 0; n <= lastRow; ++n) {
    const std::uint8_t* earlier = picture.rows[static_cast<std::size_t>(std::clamp(n - distance, 0, lastRow))];
    const std::uint8_t* later = picture.rows[static_cast<std::size_t>(std::clamp(n + distance, 0, lastRow))];
    std::uint8_t* row = picture.rows[static_cast<std::size_t>(n)];
    for (int x = 0; x <= lastColumn; ++x) {
      const int left = std::clamp(x - distance, 0, lastColumn) * bytes;
      const int right = std::clamp(x + distance, 0, lastColumn) * bytes;
      std::uint8_t* p = row + x * bytes;
      for (int c = 0; c < channels; ++c) {
        const int v = (earlierLeft * earlier[left + c] + earlierRight * earlier[right + c] +
                       laterLeft * later[left + c] + laterRight * later[right + c] + centre * p[c]) /
                      divisor;
        p[c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
      }
    }
  }
}

void FilterCross(TFastDIB& dib, int distance, int earlierLeft, int earlierRight, int laterLeft, int laterRight,
                 int centre) {
  FilterCross(rowsOf(dib), distance, earlierLeft, earlierRight, laterLeft, laterRight, centre);
}

void SharpenCross(const PixelRows& picture, int distance) { FilterCross(picture, distance, 1, 1, 1, 1, -10); }
void SharpenCross(TFastDIB& dib, int distance) { SharpenCross(rowsOf(dib), distance); }

}  // namespace vistrel::imaging
