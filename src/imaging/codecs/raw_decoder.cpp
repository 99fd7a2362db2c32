// Camera raw files: the embedded preview that LibRaw extracts, which is a
// JPEG in nearly every camera (decoded, and reduced, by the JPEG reader) or
// an 8-bit RGB bitmap in a few.
#include <libraw/libraw.h>

#include <memory>

#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"
#include "imaging/shrink.h"
#include "platform/error.h"

namespace vistrel::imaging::codecs {
namespace {

struct Preview {
  std::unique_ptr<LibRaw> raw = std::make_unique<LibRaw>(0);
  const libraw_thumbnail_t& thumbnail() const { return raw->imgdata.thumbnail; }
  std::span<const std::uint8_t> bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(thumbnail().thumb), thumbnail().tlength};
  }
};

// LibRaw keeps a pointer to the bytes; they outlive the Preview in every caller.
Preview extract(std::span<const std::uint8_t> bytes) {
  Preview preview;
  const auto fail = [] { throw Error("The camera raw file holds no preview picture that can be read."); };
  if (preview.raw->open_buffer(const_cast<std::uint8_t*>(bytes.data()), bytes.size()) != LIBRAW_SUCCESS) fail();
  // LibRaw takes the memory of the size a preview claims, whatever the file
  // holds: 1.6 GB for a file of 1 KB that claims an uncompressed preview.
  checkPixelMemory(preview.thumbnail().twidth, preview.thumbnail().theight, 3);
  if (preview.raw->unpack_thumb() != LIBRAW_SUCCESS || !preview.thumbnail().thumb) fail();
  return preview;
}

bool isBitmap(const libraw_thumbnail_t& t) { return t.tformat == LIBRAW_THUMBNAIL_BITMAP; }

class RawDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    const Preview preview = extract(bytes);
    if (isBitmap(preview.thumbnail())) return {preview.thumbnail().twidth, preview.thumbnail().theight, 24};
    return makeJpegDecoder()->readHeader(preview.bytes());
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest& request) const override {
    const Preview preview = extract(bytes);
    const libraw_thumbnail_t& t = preview.thumbnail();
    if (!isBitmap(t)) {
      if (t.tformat != LIBRAW_THUMBNAIL_JPEG) throw Error("The camera raw file's preview has an unknown format.");
      return makeJpegDecoder()->decode(preview.bytes(), request);
    }
    checkPixelMemory(t.twidth, t.theight, 3);
    const std::size_t rowBytes = static_cast<std::size_t>(t.twidth) * 3;
    if (t.tcolors != 3 || t.tlength < rowBytes * t.theight) throw Error("The camera raw file's preview is damaged.");
    DecodedImage image;
    image.bitmap.SetSize(t.twidth, t.theight);
    const auto* in = reinterpret_cast<const std::uint8_t*>(t.thumb);
    for (int y = 0; y < t.theight; ++y) {
      std::uint8_t* out = image.bitmap.ScanLine(y);
      for (std::size_t x = 0; x < rowBytes; x += 3) {
        out[x] = in[x + 2];
        out[x + 1] = in[x + 1];
        out[x + 2] = in[x];
      }
      in += rowBytes;
    }
    image.bitmap = ShrinkBitmap(image.bitmap, request.reduction);
    return image;
  }

  bool reducesWhileDecoding() const override { return true; }
};

}  // namespace

std::unique_ptr<ImageDecoder> makeRawDecoder() { return std::make_unique<RawDecoder>(); }

}  // namespace vistrel::imaging::codecs
