#include "imaging/bitmap.h"

#include "imaging/pixel_limits.h"

namespace vistrel::imaging {

void TBitmap::SetSize(int width, int height) {
  checkPixelMemory(width, height, 3);
  const int stride = stride24(width);
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  pixels_.swap(pixels);
  width_ = width;
  height_ = height;
  stride_ = stride;
}

void TBitmap::Clear() {
  pixels_ = {};
  width_ = height_ = stride_ = 0;
}

void TBitmap::Fill(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* p = ScanLine(y);
    for (int x = 0; x < width_; ++x, p += 3) {
      p[0] = blue;
      p[1] = green;
      p[2] = red;
    }
  }
}

}  // namespace vistrel::imaging
