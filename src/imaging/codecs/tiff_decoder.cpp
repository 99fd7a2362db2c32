// TIFF through libtiff, any page, by its RGBA reader.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"

namespace vistrel::imaging::codecs {
namespace {

struct MemoryFile {
  std::span<const std::uint8_t> bytes;
  toff_t position = 0;
  std::string error;
};

tmsize_t readProc(thandle_t handle, void* out, tmsize_t size) {
  auto* file = static_cast<MemoryFile*>(handle);
  if (size <= 0 || file->position >= file->bytes.size()) return 0;
  const auto n = std::min<toff_t>(static_cast<toff_t>(size), file->bytes.size() - file->position);
  std::memcpy(out, file->bytes.data() + file->position, n);
  file->position += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t) { return 0; }

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<MemoryFile*>(handle);
  const toff_t base = whence == SEEK_CUR ? file->position : whence == SEEK_END ? file->bytes.size() : 0;
  file->position = base + offset;
  return file->position;
}

int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t handle) { return static_cast<MemoryFile*>(handle)->bytes.size(); }
int mapProc(thandle_t, void**, toff_t*) { return 0; }
void unmapProc(thandle_t, void*, toff_t) {}

int onError(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* file = static_cast<MemoryFile*>(user);
  if (file->error.empty()) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    file->error = text;
  }
  return 1;
}

int onWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

[[noreturn]] void fail(const MemoryFile& file) {
  throw Error("Cannot read the TIFF file" + (file.error.empty() ? std::string(".") : ": " + file.error));
}

// Opens the file at the given page; libtiff's messages go to the file's own
// error text, and no single allocation may exceed the pixel memory limit.
TiffHandle open(MemoryFile& file, int page) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(pixelMemoryLimit()));
  TIFFOpenOptionsSetErrorHandlerExtR(options, onError, &file);
  TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, &file);
  TIFF* tiff = TIFFClientOpenExt("memory", "rm", &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                                 unmapProc, options);
  TIFFOpenOptionsFree(options);
  if (!tiff) fail(file);
  TiffHandle handle(tiff);
  if (page > 0 && !TIFFSetDirectory(tiff, static_cast<tdir_t>(page))) fail(file);
  return handle;
}

ImageHeader headerOf(TIFF* tiff) {
  std::uint32_t width = 0, height = 0;
  std::uint16_t bits = 1, samples = 1;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  checkPixelMemory(width, height, 4);
  return {static_cast<int>(width), static_cast<int>(height), bits * samples};
}

class TiffDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    MemoryFile file{bytes, 0, {}};
    TiffHandle tiff = open(file, 0);
    return headerOf(tiff.get());
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest& request) const override {
    MemoryFile file{bytes, 0, {}};
    TiffHandle tiff = open(file, request.page);
    const ImageHeader header = headerOf(tiff.get());
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height));
    if (!TIFFReadRGBAImageOriented(tiff.get(), static_cast<std::uint32_t>(header.width),
                                   static_cast<std::uint32_t>(header.height), raster.data(), ORIENTATION_TOPLEFT, 0)) {
      fail(file);
    }
    DecodedImage image;
    image.bitmap.SetSize(header.width, header.height);
    image.bitsPerPixel = header.bitsPerPixel;
    std::uint16_t photometric = 0;
    if (TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric) && photometric == PHOTOMETRIC_PALETTE) {
      image.colours = 1 << std::min(header.bitsPerPixel, 16);
    }
    // The RGBA reader delivers premultiplied colour, so white shows through
    // by adding what the alpha leaves uncovered.
    const std::uint32_t* in = raster.data();
    for (int y = 0; y < header.height; ++y) {
      std::uint8_t* out = image.bitmap.ScanLine(y);
      for (int x = 0; x < header.width; ++x, ++in, out += 3) {
        const unsigned uncovered = 255 - TIFFGetA(*in);
        out[0] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(*in) + uncovered));
        out[1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(*in) + uncovered));
        out[2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(*in) + uncovered));
      }
    }
    return image;
  }
};

}  // namespace

std::unique_ptr<ImageDecoder> makeTiffDecoder() { return std::make_unique<TiffDecoder>(); }

}  // namespace vistrel::imaging::codecs
