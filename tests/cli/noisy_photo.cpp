#include "noisy_photo.h"

#include <random>

#include "imaging/jpeg_encoder.h"

namespace vistrel::test {

void writeNoisyPhoto(const std::filesystem::path& file, int width, int height, unsigned seed) {
  imaging::TBitmap bitmap(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width * 3; ++x) bitmap.ScanLine(y)[x] = std::uint8_t(random());
  }
  imaging::SaveBitmapAsJpeg(file, bitmap, 95, false);
}

}  // namespace vistrel::test
