#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "imaging/image_types.h"

namespace vistrel::gallery {

struct ImageSize {
  int width = 0;
  int height = 0;
  bool operator==(const ImageSize&) const = default;
};

// A picture as the gallery draws on it: rows top-down, three bytes per pixel
// in the order red, green, blue (the imaging code's packed form, so decoded
// and encoded pictures need no conversion).
using RgbImage = imaging::RgbPicture;

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
  // Decoded at 1/2^reduction of its size (reduction 0..3). Throws Error with
  // the reason, or gives an empty picture, when nothing decodes.
  virtual RgbImage load(const std::filesystem::path& file, int reduction) = 0;
  // About the most memory such a load holds at once, for a picture of this
  // header size; 0 when the codec cannot tell.
  virtual std::uint64_t decodeMemory(const std::filesystem::path& /*file*/, ImageSize /*size*/, int /*reduction*/) {
    return 0;
  }

  // Bilinear resampling to width × height, then the filters in this order.
  virtual RgbImage scaleAndFilter(const RgbImage& source, int width, int height, const FilterSteps& steps) = 0;
  // A baseline JPEG file image.
  virtual std::string encodeJpeg(const RgbImage& image, int quality) = 0;
};

}  // namespace vistrel::gallery
