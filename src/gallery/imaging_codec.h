#pragma once

#include "gallery/image_codec.h"

namespace vistrel::gallery {

// The gallery's images through the imaging core: its decoders (JPEG reduced
// by DCT scaling, never decoded at full size for a small output), the
// bilinear resampler and filters on TFastDIB, and its JPEG encoder.
class ImagingCodec : public ImageCodec {
 public:
  // A header that reads is enough: decoding every listed photo in full just to
  // check it would cost more than the whole run.
  bool canOpen(const std::filesystem::path& file) override;
  ImageSize headerSize(const std::filesystem::path& file) override;
  RgbImage load(const std::filesystem::path& file, int reduction) override;
  std::uint64_t decodeMemory(const std::filesystem::path& file, ImageSize size, int reduction) override;
  RgbImage scaleAndFilter(const RgbImage& source, int width, int height, const FilterSteps& steps) override;
  std::string encodeJpeg(const RgbImage& image, int quality) override;
};

}  // namespace vistrel::gallery
