#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vistrel::gallery {

struct ImageSize {
  int width = 0;
  int height = 0;
  bool operator==(const ImageSize&) const = default;
};

// A picture as the gallery draws on it: rows top-down, three bytes per pixel
// in the order red, green, blue.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {}
  bool empty() const { return width <= 0 || height <= 0; }
  std::uint8_t* at(int x, int y) { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3; }
  const std::uint8_t* at(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
  }
};

// The filters of a gallery image, applied after scaling.
struct FilterSteps {
  bool invert = false;
  std::optional<int> sharpen;  // the cross filter's distance
  int contrast = 0;            // 0: unchanged
  int brightness = 0;
};

// What the gallery needs from the imaging subsystem: the file test and header
// read, loading with a reduction, the bilinear scaler and filters, and the
// JPEG encoder.
class ImageCodec {
 public:
  virtual ~ImageCodec() = default;

  virtual bool canOpen(const std::filesystem::path& file) = 0;
  // From the header alone; 0 × 0 when it cannot be read.
  virtual ImageSize headerSize(const std::filesystem::path& file) = 0;
  // Decoded at 1/2^reduction of its size (reduction 0..3); empty when nothing decodes.
  virtual RgbImage load(const std::filesystem::path& file, int reduction) = 0;

  // Bilinear resampling to width × height, then the filters in this order.
  virtual RgbImage scaleAndFilter(const RgbImage& source, int width, int height, const FilterSteps& steps) = 0;
  // A baseline JPEG file image.
  virtual std::string encodeJpeg(const RgbImage& image, int quality) = 0;
};

}  // namespace vistrel::gallery
