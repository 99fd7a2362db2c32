// JPEG through libjpeg-turbo. Reduction uses the decoder's own DCT scaling,
// so a large photo is never decoded at full size for a small output.
#include <cstring>
#include <new>
#include <string>

#include "imaging/codecs/codec.h"
#include "imaging/codecs/jpeg_error.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"

namespace vistrel::imaging::codecs {
namespace {

// Plain data shared with the function that calls libjpeg (it survives the
// longjmp). The output picture (a bitmap, or packed red-first rows) is
// reached only through allocate(), which catches every C++ exception itself.
struct JpegJob {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  int reduction = 0;
  bool headerOnly = false;
  int width = 0;
  int height = 0;
  int components = 0;
  TBitmap* target = nullptr;
  RgbPicture* rgbTarget = nullptr;
  std::uint8_t* pixels = nullptr;
  std::size_t stride = 0;
  bool allocationFailed = false;
  char message[JMSG_LENGTH_MAX] = {};
};

bool allocate(JpegJob& job, int width, int height) noexcept {
  try {
    if (job.rgbTarget) {
      checkPixelMemory(width, height, 3);
      *job.rgbTarget = RgbPicture(width, height);
      job.pixels = job.rgbTarget->pixels.data();
      job.stride = static_cast<std::size_t>(width) * 3;
    } else {
      job.target->SetSize(width, height);
      job.pixels = job.target->Bits();
      job.stride = static_cast<std::size_t>(job.target->Stride());
    }
    return true;
  } catch (const std::exception& e) {
    std::snprintf(job.message, sizeof job.message, "%s", e.what());
    job.allocationFailed = true;
    return false;
  }
}

// Adobe files store CMYK inverted, so each channel times K is the colour.
void cmykRowToColour(const JSAMPLE* in, std::uint8_t* out, JDIMENSION width, bool redFirst) {
  const int first = redFirst ? 0 : 2, last = 2 - first;
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    const unsigned k = in[3];
    out[first] = static_cast<std::uint8_t>(in[0] * k / 255);
    out[1] = static_cast<std::uint8_t>(in[1] * k / 255);
    out[last] = static_cast<std::uint8_t>(in[2] * k / 255);
  }
}

bool runLibjpeg(JpegJob& job) {
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  jpeg_progress_mgr progress;
  installJpegErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  if (setjmp(errors.jump)) {
    std::memcpy(job.message, errors.message, sizeof job.message);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  guardDecompressor(&cinfo, progress);
  jpeg_mem_src(&cinfo, job.data, static_cast<unsigned long>(job.size));
  jpeg_read_header(&cinfo, TRUE);
  job.width = static_cast<int>(cinfo.image_width);
  job.height = static_cast<int>(cinfo.image_height);
  job.components = cinfo.num_components;
  if (job.headerOnly) {
    jpeg_destroy_decompress(&cinfo);
    return true;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  const bool redFirst = job.rgbTarget != nullptr;
  cinfo.out_color_space = cmyk ? JCS_CMYK : redFirst ? JCS_EXT_RGB : JCS_EXT_BGR;
  cinfo.scale_num = 1;
  cinfo.scale_denom = 1u << job.reduction;
  jpeg_calc_output_dimensions(&cinfo);
  if (!allocate(job, static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height))) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  JSAMPARRAY cmykRow =
      cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, cinfo.output_width * 4, 1)
           : nullptr;
  while (cinfo.output_scanline < cinfo.output_height) {
    std::uint8_t* row = job.pixels + cinfo.output_scanline * job.stride;
    if (cmyk) {
      jpeg_read_scanlines(&cinfo, cmykRow, 1);
      cmykRowToColour(cmykRow[0], row, cinfo.output_width, redFirst);
    } else {
      JSAMPROW rows[1] = {row};
      jpeg_read_scanlines(&cinfo, rows, 1);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

class JpegDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    JpegJob job = run(bytes, 0, true, nullptr);
    return {job.width, job.height, job.components * 8};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest& request) const override {
    DecodedImage image;
    const JpegJob job = run(bytes, request.reduction, false, &image.bitmap);
    image.bitsPerPixel = job.components == 1 ? 8 : 24;
    image.colours = job.components == 1 ? 256 : 0;
    return image;
  }

  std::optional<RgbPicture> decodeRgb(std::span<const std::uint8_t> bytes, const DecodeRequest& request) const override {
    RgbPicture picture;
    run(bytes, request.reduction, false, nullptr, &picture);
    return picture;
  }

  bool reducesWhileDecoding() const override { return true; }

 private:
  static JpegJob run(std::span<const std::uint8_t> bytes, int reduction, bool headerOnly, TBitmap* target,
                     RgbPicture* rgbTarget = nullptr) {
    JpegJob job;
    job.data = bytes.data();
    job.size = bytes.size();
    job.reduction = reduction;
    job.headerOnly = headerOnly;
    job.target = target;
    job.rgbTarget = rgbTarget;
    if (!runLibjpeg(job)) {
      throw Error(job.allocationFailed ? std::string(job.message) : "Cannot read the JPEG file: " + std::string(job.message));
    }
    return job;
  }
};

}  // namespace

std::unique_ptr<ImageDecoder> makeJpegDecoder() { return std::make_unique<JpegDecoder>(); }

}  // namespace vistrel::imaging::codecs
