#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistrel::imaging {

// The 24-bit picture most callers work with: rows top to bottom, three bytes
// per pixel in the order blue, green, red, each row padded to a multiple of
// four bytes (the layout of a 24-bit device-independent bitmap, so rows move
// to and from TFastDIB and BMP streams without conversion). A bitmap of width
// or height 0 is the "no picture" result of the loaders.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Bytes from one row to the next.
  int Stride() const { return stride_; }
  std::size_t DataSize() const { return pixels_.size(); }

  // New size with all pixels black; throws Error when the picture would be
  // larger than the pixel memory limit.
  void SetSize(int width, int height);
  // Releases the pixels; the bitmap becomes 0 x 0.
  void Clear();

  std::uint8_t* ScanLine(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
  const std::uint8_t* ScanLine(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
  std::uint8_t* Bits() { return pixels_.data(); }
  const std::uint8_t* Bits() const { return pixels_.data(); }

  // Every pixel in one colour.
  void Fill(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

  friend bool operator==(const TBitmap&, const TBitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<std::uint8_t> pixels_;
};

// Row stride of a 24-bit picture of the given width.
constexpr int stride24(int width) { return (width * 3 + 3) & ~3; }

}  // namespace vistrel::imaging
