#include "imaging/shrink.h"

#include <algorithm>
#include <vector>

namespace vistrel::imaging {

TBitmap ShrinkBitmap(const TBitmap& picture, int reduction) {
  if (reduction <= 0) return picture;
  const int factor = 1 << std::min(reduction, 3);
  const int width = (picture.Width() + factor - 1) / factor;
  const int height = (picture.Height() + factor - 1) / factor;
  TBitmap result(width, height);
  std::vector<unsigned> sums(static_cast<std::size_t>(width) * 3);
  std::vector<unsigned> counts(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    std::fill(counts.begin(), counts.end(), 0);
    for (int sy = y * factor; sy < std::min((y + 1) * factor, picture.Height()); ++sy) {
      const std::uint8_t* in = picture.ScanLine(sy);
      for (int sx = 0; sx < picture.Width(); ++sx, in += 3) {
        const auto x = static_cast<std::size_t>(sx / factor);
        sums[3 * x] += in[0];
        sums[3 * x + 1] += in[1];
        sums[3 * x + 2] += in[2];
        ++counts[x];
      }
    }
    std::uint8_t* out = result.ScanLine(y);
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
      for (std::size_t c = 0; c < 3; ++c) {
        out[3 * x + c] = static_cast<std::uint8_t>((sums[3 * x + c] + counts[x] / 2) / counts[x]);
      }
    }
  }
  return result;
}

}  // namespace vistrel::imaging
