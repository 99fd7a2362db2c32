// TGA and PSD through stb_image (PSD: the merged picture the file carries).
#include <stb_image.h>

#include <climits>
#include <memory>
#include <string>
#include <string_view>

#include "imaging/byte_reader.h"
#include "imaging/codecs/alpha.h"
#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"

namespace vistrel::imaging::codecs {
namespace {

// stb_image fills missing PSD data with whatever it finds; a file cut short
// must count as damaged, so the image data's extent is checked first.
void checkPsdComplete(std::span<const std::uint8_t> bytes) {
  const ByteReader in(bytes, "The PSD file is damaged.");
  const std::uint64_t channels = in.be16(12), height = in.be32(14), width = in.be32(18), depth = in.be16(22);
  std::uint64_t offset = 26;
  for (int section = 0; section < 3; ++section) offset += 4 + std::uint64_t{in.be32(static_cast<std::size_t>(offset))};
  enforce(offset + 2 <= bytes.size(), "The PSD file is damaged.");
  const auto at = static_cast<std::size_t>(offset);
  const std::uint64_t rows = channels * height;
  std::uint64_t needed = rows * ((width * depth + 7) / 8);
  if (in.be16(at) == 1) {  // run-length coded: a table of row lengths first
    enforce(at + 2 + 2 * rows <= bytes.size(), "The PSD file is damaged.");
    needed = 2 * rows;
    for (std::size_t row = 0; row < rows; ++row) needed += in.be16(at + 2 + 2 * row);
  }
  enforce(at + 2 + needed <= bytes.size(), "The PSD file is damaged.");
}

class StbDecoder final : public ImageDecoder {
 public:
  using Check = void (*)(std::span<const std::uint8_t>);
  StbDecoder(const char* formatName, Check check) : formatName_(formatName), check_(check) {}

  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) fail();
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels)) fail();
    return {width, height, bitsPerPixel(bytes, channels)};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest&) const override {
    const ImageHeader header = readHeader(bytes);
    checkPixelMemory(header.width, header.height, 7);
    if (check_) check_(bytes);
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
  // stb reports four channels for every PSD file; the header knows better
  // when it holds what the format allows (up to 56 channels of up to 32 bits).
  int bitsPerPixel(std::span<const std::uint8_t> bytes, int channels) const {
    if (std::string_view(formatName_) == "PSD" && bytes.size() >= 24) {
      const int fileChannels = bytes[12] << 8 | bytes[13];
      const int depth = bytes[22] << 8 | bytes[23];
      if (fileChannels >= 1 && fileChannels <= 56 && depth >= 1 && depth <= 32) return fileChannels * depth;
    }
    return channels * 8;
  }

  [[noreturn]] void fail() const {
    const char* reason = stbi_failure_reason();
    throw Error(std::string("Cannot read the ") + formatName_ + " file" + (reason ? std::string(": ") + reason : "."));
  }

  const char* formatName_;
  Check check_;
};

}  // namespace

std::unique_ptr<ImageDecoder> makeTgaDecoder() { return std::make_unique<StbDecoder>("TGA", nullptr); }
std::unique_ptr<ImageDecoder> makePsdDecoder() { return std::make_unique<StbDecoder>("PSD", checkPsdComplete); }

}  // namespace vistrel::imaging::codecs
