// WebP through libwebp (still pictures; animations are not decoded).
#include <webp/decode.h>

#include <string>
#include <vector>

#include "imaging/codecs/alpha.h"
#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"

namespace vistrel::imaging::codecs {
namespace {

WebPBitstreamFeatures featuresOf(std::span<const std::uint8_t> bytes) {
  WebPBitstreamFeatures features;
  if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) {
    throw Error("Cannot read the WebP file.");
  }
  return features;
}

class WebpDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    const WebPBitstreamFeatures features = featuresOf(bytes);
    return {features.width, features.height, features.has_alpha ? 32 : 24};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest&) const override {
    const WebPBitstreamFeatures features = featuresOf(bytes);
    if (features.has_animation) throw Error("Animated WebP files are not supported.");
    checkPixelMemory(features.width, features.height, 7);
    const std::size_t rowBytes = static_cast<std::size_t>(features.width) * 4;
    std::vector<std::uint8_t> rgba(rowBytes * static_cast<std::size_t>(features.height));
    if (!WebPDecodeRGBAInto(bytes.data(), bytes.size(), rgba.data(), rgba.size(), static_cast<int>(rowBytes))) {
      throw Error("Cannot read the WebP file.");
    }
    DecodedImage image;
    image.bitmap.SetSize(features.width, features.height);
    image.bitsPerPixel = features.has_alpha ? 32 : 24;
    for (int y = 0; y < features.height; ++y) {
      rgbaRowToBgr(rgba.data() + static_cast<std::size_t>(y) * rowBytes, image.bitmap.ScanLine(y), features.width);
    }
    return image;
  }
};

}  // namespace

std::unique_ptr<ImageDecoder> makeWebpDecoder() { return std::make_unique<WebpDecoder>(); }

}  // namespace vistrel::imaging::codecs
