#include "gallery/basic_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <stb_image.h>

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

// Pictures beyond this are refused before any pixel memory is taken.
constexpr long long kMaxPixels = 400'000'000;

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void jumpOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

bool isJpeg(const std::string& bytes) {
  return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8;
}

std::string readBytes(const fs::path& file) {
  try {
    return platform::readFile(file);
  } catch (const Error&) {
    return {};
  }
}

// Header or full decode of a JPEG in memory; the longjmp lands only here, and
// no object with a destructor lives across it.
bool decodeJpeg(const std::string& bytes, int reduction, bool headerOnly, ImageSize& size,
                std::vector<std::uint8_t>* pixels) {
  jpeg_decompress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jumpOnError;
  error.manager.output_message = [](j_common_ptr) {};
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  info.scale_num = 1;
  info.scale_denom = 1u << reduction;
  jpeg_calc_output_dimensions(&info);
  size = headerOnly ? ImageSize{static_cast<int>(info.image_width), static_cast<int>(info.image_height)}
                    : ImageSize{static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
  if (headerOnly || static_cast<long long>(size.width) * size.height > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return headerOnly;
  }
  pixels->resize(static_cast<std::size_t>(size.width) * size.height * 3);
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels->data() + static_cast<std::size_t>(info.output_scanline) * size.width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

std::uint8_t clampByte(int value) { return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

void fillRamp(std::uint8_t table[256], int firstIndex, int firstValue, int lastValue, int lastIndex) {
  if (lastIndex - firstIndex == 0) return;
  const int step = ((lastValue - firstValue + 1) * 65536) / (lastIndex - firstIndex);
  if (lastIndex < firstIndex) return;
  for (int k = 0; firstIndex + k <= lastIndex; ++k) {
    table[firstIndex + k] = static_cast<std::uint8_t>(((firstValue * 65536 + k * step) >> 16) & 0xFF);
  }
}

void applyTable(RgbImage& image, const std::uint8_t table[256]) {
  for (auto& byte : image.pixels) byte = table[byte];
}

}  // namespace

bool BasicCodec::canOpen(const fs::path& file) {
  const ImageSize size = headerSize(file);
  return size.width > 0 && size.height > 0;
}

ImageSize BasicCodec::headerSize(const fs::path& file) {
  const std::string bytes = readBytes(file);
  ImageSize size;
  if (isJpeg(bytes)) {
    if (!decodeJpeg(bytes, 0, true, size, nullptr)) return {};
    return size;
  }
  int w = 0, h = 0, channels = 0;
  if (bytes.empty() || !stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                              static_cast<int>(bytes.size()), &w, &h, &channels)) {
    return {};
  }
  return {w, h};
}

RgbImage BasicCodec::load(const fs::path& file, int reduction) {
  const std::string bytes = readBytes(file);
  RgbImage image;
  if (isJpeg(bytes)) {
    ImageSize size;
    if (decodeJpeg(bytes, reduction, false, size, &image.pixels)) {
      image.width = size.width;
      image.height = size.height;
    }
    return image;
  }
  int w = 0, h = 0, channels = 0;
  if (bytes.empty() || !stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                              static_cast<int>(bytes.size()), &w, &h, &channels) ||
      static_cast<long long>(w) * h > kMaxPixels) {
    return image;
  }
  stbi_uc* data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                        &w, &h, &channels, 3);
  if (!data) return image;
  image = RgbImage(w, h);
  std::memcpy(image.pixels.data(), data, image.pixels.size());
  stbi_image_free(data);
  return image;
}

RgbImage BasicCodec::resampleBilinear(const RgbImage& source, int width, int height) {
  RgbImage result(width, height);
  if (source.empty() || result.empty()) return result;
  const unsigned columnStep = static_cast<unsigned>((static_cast<unsigned long long>(source.width - 1) * 65536) / width);
  const unsigned rowStep = static_cast<unsigned>((static_cast<unsigned long long>(source.height - 1) * 65536) / height);
  unsigned sy = 0;
  for (int r = 0; r < height; ++r, sy += rowStep) {
    const int a = static_cast<int>(sy >> 16);
    const int b = a < source.height - 1 ? a + 1 : a;
    const unsigned fy = sy & 65535, wa = 65536 - fy, wb = fy + 1;
    unsigned sx = 0;
    for (int c = 0; c < width; ++c, sx += columnStep) {
      const int i = static_cast<int>(sx >> 16);
      const int j = i < source.width - 1 ? i + 1 : i;
      const unsigned fx = sx & 65535;
      const unsigned waj = (wa * fx) >> 16, wai = wa - waj, wbj = (wb * fx) >> 16, wbi = wb - wbj;
      const std::uint8_t *ai = source.at(i, a), *aj = source.at(j, a), *bi = source.at(i, b), *bj = source.at(j, b);
      std::uint8_t* out = result.at(c, r);
      for (int k = 0; k < 3; ++k) {
        out[k] = clampByte(static_cast<int>((wai * ai[k] + waj * aj[k] + wbi * bi[k] + wbj * bj[k]) >> 16));
      }
    }
  }
  return result;
}

void BasicCodec::invertPixels(RgbImage& image) {
  for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(255 - byte);
}

void BasicCodec::sharpenCross(RgbImage& image, int distance) {
  if (distance == 0) return;
  const int lastRow = image.height - 1, lastColumn = image.width - 1;
  for (int n = 0; n <= lastRow; ++n) {
    const int early = std::max(n - distance, 0), late = std::min(n + distance, lastRow);
    for (int x = 0; x <= lastColumn; ++x) {
      const int left = std::max(x - distance, 0), right = std::min(x + distance, lastColumn);
      std::uint8_t* p = image.at(x, n);
      for (int k = 0; k < 3; ++k) {
        const int sum = image.at(left, early)[k] + image.at(right, early)[k] + image.at(left, late)[k] +
                        image.at(right, late)[k];
        p[k] = clampByte((sum - 10 * p[k]) / -6);
      }
    }
  }
}

void BasicCodec::contrast(RgbImage& image, int amount) {
  std::uint8_t table[256] = {};
  if (amount < 0) {
    fillRamp(table, 0, -amount, 255 + amount, 255);
  } else {
    amount = std::min(amount, 255);
    fillRamp(table, amount, 0, 255, 255 - amount);
    for (int i = 256 - amount; i <= 255; ++i) table[i] = 255;
  }
  applyTable(image, table);
}

void BasicCodec::brightness(RgbImage& image, int amount) {
  std::uint8_t table[256] = {};
  if (amount < 0) {
    fillRamp(table, 0, 0, 255 + amount, 255);
  } else {
    fillRamp(table, 0, std::min(amount, 255), 255, 255);
  }
  applyTable(image, table);
}

std::string BasicCodec::encodeJpeg(const RgbImage& image, int quality) {
  jpeg_compress_struct info;
  JpegError error;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jumpOnError;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    throw Error("The JPEG image could not be encoded");
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(image.at(0, static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

}  // namespace vistrel::gallery
