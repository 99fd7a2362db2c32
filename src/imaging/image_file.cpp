#include "imaging/image_file.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "imaging/codecs/format_table.h"
#include "imaging/pixel_limits.h"
#include "imaging/shrink.h"
#include "platform/error.h"
#include "platform/log.h"

namespace vistrel::imaging {
namespace {

// Header reads look at the start of the file first; a format whose header
// lies further in (a TIFF directory at the end) gets the whole file.
constexpr std::size_t kHeaderPrefix = std::size_t{1} << 20;

std::vector<std::uint8_t> readFile(const std::filesystem::path& file, std::size_t maxBytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error("Cannot open " + file.string() + ".");
  in.seekg(0, std::ios::end);
  const auto size = static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0));
  in.seekg(0);
  if (maxBytes == 0 && size > pixelMemoryLimit()) throw Error("The file " + file.string() + " is too large.");
  std::vector<std::uint8_t> bytes(maxBytes == 0 ? size : std::min(size, maxBytes));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

const codecs::ImageFormat& formatOf(std::span<const std::uint8_t> bytes, const std::filesystem::path& name) {
  const codecs::ImageFormat* format = codecs::findImageFormat(name, bytes);
  if (!format) throw Error("The file " + name.filename().string() + " is not a picture in a known format.");
  return *format;
}

// The decoded picture, or an empty one when nothing can be decoded (the
// reason is logged).
template <class Picture, class Decode>
Picture orNoPicture(const std::filesystem::path& fileName, Decode decode) {
  try {
    return decode();
  } catch (const Error& e) {
    log::warning(e.what());
  } catch (const std::bad_alloc&) {
    log::warning("Not enough memory to load " + fileName.string() + ".");
  }
  return {};
}

}  // namespace

ImageHeader ReadImageHeader(std::span<const std::uint8_t> bytes, const std::filesystem::path& name) {
  return formatOf(bytes, name).factory()->readHeader(bytes);
}

DecodedImage DecodeImage(std::span<const std::uint8_t> bytes, const std::filesystem::path& name, int reduction,
                         int page) {
  reduction = std::clamp(reduction, 0, 3);
  const auto decoder = formatOf(bytes, name).factory();
  DecodedImage image = decoder->decode(bytes, {reduction, std::max(page, 0)});
  if (!decoder->reducesWhileDecoding()) image.bitmap = ShrinkBitmap(image.bitmap, reduction);
  return image;
}

ImageHeader ReadImageHeader(const std::filesystem::path& file) {
  const std::vector<std::uint8_t> prefix = readFile(file, kHeaderPrefix);
  try {
    return ReadImageHeader(prefix, file);
  } catch (const Error&) {
    if (prefix.size() < kHeaderPrefix) throw;
  }
  return ReadImageHeader(readFile(file, 0), file);
}

DecodedImage DecodeImageFile(const std::filesystem::path& file, int reduction, int page) {
  return DecodeImage(readFile(file, 0), file, reduction, page);
}

RgbPicture DecodeImageFileRgb(const std::filesystem::path& file, int reduction) {
  const std::vector<std::uint8_t> bytes = readFile(file, 0);
  const auto decoder = formatOf(bytes, file).factory();
  std::optional<RgbPicture> picture = decoder->decodeRgb(bytes, {std::clamp(reduction, 0, 3), 0});
  return picture ? std::move(*picture) : toRgbPicture(DecodeImage(bytes, file, reduction).bitmap);
}

DecodedImage DecodeImageFileBgra(const std::filesystem::path& file, int reduction, int page,
                                 const BgraAllocator& allocate) {
  const std::vector<std::uint8_t> bytes = readFile(file, 0);
  reduction = std::clamp(reduction, 0, 3);
  if (page <= 0) {
    if (auto decoded = formatOf(bytes, file).factory()->decodeBgra(bytes, {reduction, 0}, allocate)) return *decoded;
  }
  DecodedImage image = DecodeImage(bytes, file, reduction, page);
  const TBitmap& bitmap = image.bitmap;
  std::size_t stride = 0;
  std::uint8_t* rows = bitmap.Empty() ? nullptr : allocate(bitmap.Width(), bitmap.Height(), stride);
  if (!bitmap.Empty() && !rows) throw Error("Not enough memory to load " + file.string() + ".");
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* in = bitmap.ScanLine(y);
    std::uint8_t* out = rows + y * stride;
    for (int x = 0; x < bitmap.Width(); ++x, in += 3, out += 4) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
      out[3] = 255;
    }
  }
  image.bitmap.Clear();
  return image;
}

RgbPicture toRgbPicture(const TBitmap& bitmap) {
  RgbPicture picture(bitmap.Width(), bitmap.Height());
  std::uint8_t* out = picture.pixels.data();
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* in = bitmap.ScanLine(y);
    for (int x = 0; x < picture.width; ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return picture;
}

std::uint64_t DecodeMemory(const std::filesystem::path& file, int width, int height, int reduction) {
  std::vector<std::uint8_t> start;
  std::error_code ec;
  const std::uint64_t fileBytes = std::filesystem::file_size(file, ec);
  try {
    start = readFile(file, 4096);
  } catch (const Error&) {
    return 0;
  }
  const codecs::ImageFormat* format = codecs::findImageFormat(file, start);
  if (!format || ec || width <= 0 || height <= 0) return 0;
  const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
  if (!format->factory()->reducesWhileDecoding()) return fileBytes + w * h * 7;
  // The reduced picture, and as much again for what is made from it.
  const int shift = std::clamp(reduction, 0, 3);
  const std::uint64_t side = std::uint64_t{1} << shift;
  return fileBytes + ((w + side - 1) >> shift) * ((h + side - 1) >> shift) * 3 * 2;
}

TBitmap LoadImageBitmap(const std::filesystem::path& fileName, int reduction) {
  return orNoPicture<TBitmap>(fileName, [&] { return DecodeImageFile(fileName, reduction).bitmap; });
}

RgbPicture LoadImageRgb(const std::filesystem::path& fileName, int reduction) {
  return orNoPicture<RgbPicture>(fileName, [&] { return DecodeImageFileRgb(fileName, reduction); });
}

}  // namespace vistrel::imaging
