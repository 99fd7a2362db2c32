// BMP files through TFastDIB's own stream reader (every depth, bit fields,
// RLE4/RLE8, the OS/2 core header).
#include "imaging/codecs/codec.h"
#include "imaging/byte_reader.h"
#include "imaging/dib_transfer.h"
#include "imaging/fast_dib.h"

namespace vistrel::imaging::codecs {
namespace {

class BmpDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    const ByteReader in(bytes);
    if (in.le32(14) == 12) return {in.le16(18), in.le16(20), in.le16(24)};
    const auto height = static_cast<std::int32_t>(in.le32(22));
    enforce(height != INT32_MIN, "The picture has invalid dimensions.");
    return {static_cast<std::int32_t>(in.le32(18)), height < 0 ? -height : height, in.le16(28)};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest&) const override {
    TFastDIB dib;
    dib.LoadFromMemory(bytes);
    DecodedImage image;
    DibToBitmap(dib, image.bitmap);
    image.bitsPerPixel = dib.BitCount;
    if (dib.BitCount <= 8) {
      const std::uint32_t used = dib.Info.bmiHeader.biClrUsed;
      image.colours = used != 0 && used < (1u << dib.BitCount) ? static_cast<int>(used) : 1 << dib.BitCount;
    }
    return image;
  }
};

}  // namespace

std::unique_ptr<ImageDecoder> makeBmpDecoder() { return std::make_unique<BmpDecoder>(); }

}  // namespace vistrel::imaging::codecs
