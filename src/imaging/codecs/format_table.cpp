#include "imaging/codecs/format_table.h"
#include "platform/files.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vistrel::imaging::codecs {
namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
  return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

bool isJpeg(std::span<const std::uint8_t> b) { return startsWith(b, "\xFF\xD8\xFF"); }
bool isPng(std::span<const std::uint8_t> b) { return startsWith(b, "\x89PNG\r\n\x1A\n"); }
bool isGif(std::span<const std::uint8_t> b) { return startsWith(b, "GIF87a") || startsWith(b, "GIF89a"); }
bool isTiff(std::span<const std::uint8_t> b) {
  return startsWith(b, std::string_view("II*\0", 4)) || startsWith(b, std::string_view("MM\0*", 4));
}
bool isWebp(std::span<const std::uint8_t> b) {
  return startsWith(b, "RIFF") && b.size() >= 12 && std::memcmp(b.data() + 8, "WEBP", 4) == 0;
}
bool isBmp(std::span<const std::uint8_t> b) { return startsWith(b, "BM"); }
bool isPcx(std::span<const std::uint8_t> b) { return b.size() >= 128 && b[0] == 0x0A && b[2] <= 1; }
bool isPsd(std::span<const std::uint8_t> b) { return startsWith(b, "8BPS"); }
// A TGA file has no signature; its colour-map and image types must at least
// be ones that exist.
bool isTga(std::span<const std::uint8_t> b) {
  if (b.size() < 18 || b[1] > 1) return false;
  const int type = b[2];
  return type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
}
// LibRaw decides for itself which raw files it can open.
bool anyBytes(std::span<const std::uint8_t>) { return true; }

constexpr std::string_view kJpeg[] = {".jpg", ".jpeg", ".jpe", ".jfif"};
constexpr std::string_view kPng[] = {".png"};
constexpr std::string_view kGif[] = {".gif"};
constexpr std::string_view kTiff[] = {".tif", ".tiff"};
constexpr std::string_view kWebp[] = {".webp"};
constexpr std::string_view kBmp[] = {".bmp", ".dib", ".rle"};
constexpr std::string_view kPcx[] = {".pcx"};
constexpr std::string_view kTga[] = {".tga"};
constexpr std::string_view kPsd[] = {".psd"};
constexpr std::string_view kRaw[] = {".nef", ".nrw", ".cr2", ".cr3", ".crw", ".arw", ".srf", ".sr2", ".dng", ".orf",
                                     ".raf", ".rw2", ".pef", ".srw", ".x3f", ".3fr", ".erf", ".kdc", ".mrw", ".mos"};

// Raw files come first: many of them are TIFF files underneath, and by their
// extension they belong to LibRaw, not to the TIFF reader.
const std::array kFormats = {
    ImageFormat{"Camera raw", kRaw, anyBytes, false, makeRawDecoder},
    ImageFormat{"JPEG", kJpeg, isJpeg, true, makeJpegDecoder},
    ImageFormat{"PNG", kPng, isPng, true, makePngDecoder},
    ImageFormat{"GIF", kGif, isGif, true, makeGifDecoder},
    ImageFormat{"TIFF", kTiff, isTiff, true, makeTiffDecoder},
    ImageFormat{"WebP", kWebp, isWebp, true, makeWebpDecoder},
    ImageFormat{"BMP", kBmp, isBmp, true, makeBmpDecoder},
    ImageFormat{"PSD", kPsd, isPsd, true, makePsdDecoder},
    ImageFormat{"PCX", kPcx, isPcx, true, makePcxDecoder},
    ImageFormat{"TGA", kTga, isTga, false, makeTgaDecoder},
};

}  // namespace

std::span<const ImageFormat> imageFormats() { return kFormats; }

const ImageFormat* findImageFormat(const std::filesystem::path& name, std::span<const std::uint8_t> bytes) {
  const std::string extension = platform::lowerExtension(name);
  for (const ImageFormat& format : kFormats) {
    const bool named = std::find(format.extensions.begin(), format.extensions.end(), extension) !=
                       format.extensions.end();
    if (named && format.sniff(bytes)) return &format;
  }
  for (const ImageFormat& format : kFormats) {
    if (format.sniffAlone && format.sniff(bytes)) return &format;
  }
  return nullptr;
}

}  // namespace vistrel::imaging::codecs
