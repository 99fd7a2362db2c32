#pragma once

#include "gallery/image_codec.h"

namespace vistrel::gallery {

// The gallery's own small codec: JPEG through libjpeg (with its 1/2, 1/4 and
// 1/8 decoding), PNG, GIF, BMP, TGA and PSD through stb_image, and the
// scaler and filters the pipeline asks for.
class BasicCodec : public ImageCodec {
 public:
  bool canOpen(const std::filesystem::path& file) override;
  ImageSize headerSize(const std::filesystem::path& file) override;
  RgbImage load(const std::filesystem::path& file, int reduction) override;
  RgbImage resampleBilinear(const RgbImage& source, int width, int height) override;
  void invertPixels(RgbImage& image) override;
  void sharpenCross(RgbImage& image, int distance) override;
  void contrast(RgbImage& image, int amount) override;
  void brightness(RgbImage& image, int amount) override;
  std::string encodeJpeg(const RgbImage& image, int quality) override;
};

}  // namespace vistrel::gallery
