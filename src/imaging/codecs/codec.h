#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "imaging/image_types.h"

namespace vistrel::imaging::codecs {

struct DecodeRequest {
  int reduction = 0;  // 0-3: deliver 1/1, 1/2, 1/4, 1/8 of each side (rounded up)
  int page = 0;
};

// One reader per file format. Readers throw Error for what they cannot
// decode; they take the whole file in memory and keep no state.
class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  virtual ImageHeader readHeader(std::span<const std::uint8_t> bytes) const = 0;
  virtual DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest& request) const = 0;
  // The picture as packed red-first rows at the requested reduction, for a
  // reader that writes that form itself; the others give nothing and the
  // caller converts their bitmap.
  virtual std::optional<RgbPicture> decodeRgb(std::span<const std::uint8_t>, const DecodeRequest&) const {
    return std::nullopt;
  }
  // The picture written into the allocator's memory (DecodedImage then tells
  // only the file's depth and colours), for a reader that writes that form
  // itself; the others give nothing and the caller converts their bitmap.
  virtual std::optional<DecodedImage> decodeBgra(std::span<const std::uint8_t>, const DecodeRequest&,
                                                 const BgraAllocator&) const {
    return std::nullopt;
  }
  // True when decode honours request.reduction itself (otherwise the caller
  // shrinks the full-size result).
  virtual bool reducesWhileDecoding() const { return false; }
};

std::unique_ptr<ImageDecoder> makeJpegDecoder();
std::unique_ptr<ImageDecoder> makePngDecoder();
std::unique_ptr<ImageDecoder> makeGifDecoder();
std::unique_ptr<ImageDecoder> makeTiffDecoder();
std::unique_ptr<ImageDecoder> makeWebpDecoder();
std::unique_ptr<ImageDecoder> makeBmpDecoder();
std::unique_ptr<ImageDecoder> makePcxDecoder();
std::unique_ptr<ImageDecoder> makeTgaDecoder();
std::unique_ptr<ImageDecoder> makePsdDecoder();
std::unique_ptr<ImageDecoder> makeRawDecoder();

}  // namespace vistrel::imaging::codecs
