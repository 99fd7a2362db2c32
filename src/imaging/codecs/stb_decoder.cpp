// TGA and PSD through stb_image (PSD: the merged picture the file carries).
#include <stb_image.h>

#include <climits>
#include <memory>
#include <string>

#include "imaging/codecs/alpha.h"
#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"

namespace vistrel::imaging::codecs {
namespace {

class StbDecoder final : public ImageDecoder {
 public:
  explicit StbDecoder(const char* formatName) : formatName_(formatName) {}

  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) fail();
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels)) fail();
    return {width, height, channels * 8};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest&) const override {
    const ImageHeader header = readHeader(bytes);
    checkPixelMemory(header.width, header.height, 7);
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> rgba(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4),
        &stbi_image_free);
    if (!rgba) fail();
    DecodedImage image;
    image.bitmap.SetSize(width, height);
    image.bitsPerPixel = header.bitsPerPixel;
    for (int y = 0; y < height; ++y) {
      rgbaRowToBgr(rgba.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4,
                   image.bitmap.ScanLine(y), width);
    }
    return image;
  }

 private:
  [[noreturn]] void fail() const {
    const char* reason = stbi_failure_reason();
    throw Error(std::string("Cannot read the ") + formatName_ + " file" + (reason ? std::string(": ") + reason : "."));
  }

  const char* formatName_;
};

}  // namespace

std::unique_ptr<ImageDecoder> makeTgaDecoder() { return std::make_unique<StbDecoder>("TGA"); }
std::unique_ptr<ImageDecoder> makePsdDecoder() { return std::make_unique<StbDecoder>("PSD"); }

}  // namespace vistrel::imaging::codecs
