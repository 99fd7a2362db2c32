#include "imaging/jpeg_encoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "imaging/codecs/jpeg_error.h"
#include "platform/atomic_file.h"
#include "platform/error.h"

namespace vistrel::imaging {
namespace {

// Plain data that survives libjpeg's longjmp; libjpeg mallocs the output.
struct EncodeJob {
  const std::uint8_t* pixels = nullptr;
  std::size_t stride = 0;
  int width = 0;
  int height = 0;
  J_COLOR_SPACE order = JCS_EXT_BGR;
  int quality = 80;
  bool progressive = false;
  unsigned char* output = nullptr;
  unsigned long outputSize = 0;
  char message[JMSG_LENGTH_MAX] = {};
};

bool runLibjpeg(EncodeJob& job) {
  jpeg_compress_struct cinfo;
  codecs::JpegErrorManager errors;
  codecs::installJpegErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  if (setjmp(errors.jump)) {
    std::memcpy(job.message, errors.message, sizeof job.message);
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &job.output, &job.outputSize);
  cinfo.image_width = static_cast<JDIMENSION>(job.width);
  cinfo.image_height = static_cast<JDIMENSION>(job.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = job.order;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, job.quality, TRUE);
  if (job.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row[1] = {const_cast<JSAMPROW>(job.pixels + cinfo.next_scanline * job.stride)};
    jpeg_write_scanlines(&cinfo, row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

std::vector<std::uint8_t> encode(EncodeJob& job, int quality, bool progressive) {
  if (job.width <= 0 || job.height <= 0) throw Error("Cannot write an empty picture as JPEG.");
  job.quality = std::clamp(quality, 1, 100);
  job.progressive = progressive;
  const bool done = runLibjpeg(job);
  const std::unique_ptr<unsigned char, decltype(&std::free)> output(job.output, &std::free);
  if (!done) throw Error(std::string("Cannot write the JPEG file: ") + job.message);
  return {output.get(), output.get() + job.outputSize};
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality, bool progressive) {
  EncodeJob job;
  job.pixels = bitmap.Bits();
  job.stride = static_cast<std::size_t>(bitmap.Stride());
  job.width = bitmap.Width();
  job.height = bitmap.Height();
  return encode(job, quality, progressive);
}

std::vector<std::uint8_t> EncodeJpeg(const RgbPicture& picture, int quality, bool progressive) {
  // Its fields are open to callers: never read past the pixels it holds.
  if (picture.pixels.size() / 3 < static_cast<std::size_t>(std::max(picture.width, 0)) *
                                      static_cast<std::size_t>(std::max(picture.height, 0))) {
    throw Error("Cannot write the JPEG file: the picture is incomplete.");
  }
  EncodeJob job;
  job.pixels = picture.pixels.data();
  job.stride = static_cast<std::size_t>(picture.width) * 3;
  job.width = picture.width;
  job.height = picture.height;
  job.order = JCS_EXT_RGB;
  return encode(job, quality, progressive);
}

void SaveBitmapAsJpeg(const std::filesystem::path& fileName, const TBitmap& bitmap) {
  SaveBitmapAsJpeg(fileName, bitmap, 80, false);
}

void SaveBitmapAsJpeg(const std::filesystem::path& fileName, const TBitmap& bitmap, int quality, bool progressive) {
  const std::vector<std::uint8_t> bytes = EncodeJpeg(bitmap, quality, progressive);
  platform::AtomicFile file(fileName);
  file.write(bytes.data(), bytes.size());
  file.commit();
}

}  // namespace vistrel::imaging
