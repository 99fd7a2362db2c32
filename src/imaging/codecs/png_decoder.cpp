// PNG through libpng; its longjmp stays inside runLibpng.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imaging/byte_reader.h"
#include "imaging/codecs/alpha.h"
#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"

namespace vistrel::imaging::codecs {
namespace {

// Plain data that survives libpng's longjmp.
struct PngJob {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t position = 0;
  TBitmap* target = nullptr;
  png_bytep rgba = nullptr;
  png_bytepp rows = nullptr;
  int bitsPerPixel = 0;
  int colours = 0;
  bool allocationFailed = false;
  char message[256] = {};
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  if (count > job->size - job->position) png_error(png, "Premature end of PNG file");
  std::memcpy(out, job->data + job->position, count);
  job->position += count;
}

void onError(png_structp png, png_const_charp message) {
  auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
  std::snprintf(job->message, sizeof job->message, "%s", message);
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// libpng allocates what a chunk claims before reading it, so a few bytes that
// claim 2 GiB cost 2 GiB. No block may exceed the pixel memory limit; a refused
// block makes libpng report the file as damaged.
png_voidp limitedMalloc(png_structp, png_alloc_size_t size) {
  return size > pixelMemoryLimit() ? nullptr : std::malloc(size);
}

void plainFree(png_structp, png_voidp block) { std::free(block); }

bool allocate(PngJob& job, int width, int height) noexcept {
  try {
    checkPixelMemory(width, height, 7);  // the RGBA rows and the picture
    job.target->SetSize(width, height);
    return true;
  } catch (const std::exception& e) {
    std::snprintf(job.message, sizeof job.message, "%s", e.what());
    job.allocationFailed = true;
    return false;
  }
}

// libpng's blocks live in the job, so that the cleanup after a longjmp sees
// them (locals changed after setjmp would be indeterminate there).
void release(PngJob& job, png_structp png) {
  png_free(png, job.rgba);
  png_free(png, job.rows);
  job.rgba = nullptr;
  job.rows = nullptr;
}

bool runLibpng(PngJob& job) {
  png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &job, onError, onWarning, nullptr,
                                             limitedMalloc, plainFree);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    release(job, png);
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &job, readFromMemory);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  job.bitsPerPixel = png_get_bit_depth(png, info) * png_get_channels(png, info);
  if (png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE) {
    png_colorp palette = nullptr;
    png_get_PLTE(png, info, &palette, &job.colours);
  }
  if (!allocate(job, static_cast<int>(width), static_cast<int>(height))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  job.rgba = static_cast<png_bytep>(png_malloc(png, rowBytes * height));
  job.rows = static_cast<png_bytepp>(png_malloc(png, sizeof(png_bytep) * height));
  for (png_uint_32 y = 0; y < height; ++y) job.rows[y] = job.rgba + y * rowBytes;
  png_read_image(png, job.rows);
  png_read_end(png, nullptr);
  for (png_uint_32 y = 0; y < height; ++y) {
    rgbaRowToBgr(job.rows[y], job.target->ScanLine(static_cast<int>(y)), static_cast<int>(width));
  }
  release(job, png);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

class PngDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    // The IHDR chunk always comes first, right after the signature.
    const ByteReader in(bytes, "The PNG file is damaged.");
    enforce(std::memcmp(in.slice(12, 4).data(), "IHDR", 4) == 0, "The PNG file is damaged.");
    const int channels[] = {1, 0, 3, 1, 2, 0, 4};
    const int colourType = in.u8(25);
    return {static_cast<int>(in.be32(16)), static_cast<int>(in.be32(20)),
            in.u8(24) * (colourType <= 6 ? channels[colourType] : 0)};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest&) const override {
    DecodedImage image;
    PngJob job;
    job.data = bytes.data();
    job.size = bytes.size();
    job.target = &image.bitmap;
    if (!runLibpng(job)) {
      throw Error(job.allocationFailed ? std::string(job.message)
                                       : "Cannot read the PNG file: " + std::string(job.message));
    }
    image.bitsPerPixel = job.bitsPerPixel;
    image.colours = job.colours;
    return image;
  }
};

}  // namespace

std::unique_ptr<ImageDecoder> makePngDecoder() { return std::make_unique<PngDecoder>(); }

}  // namespace vistrel::imaging::codecs
