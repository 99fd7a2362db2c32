// The lossless transform on arbitrary bytes: the first byte picks the
// transform, trim, grey output, following the EXIF orientation and resetting
// it; the rest is the JPEG file. It must end in a JPEG or an Error, within
// the lowered memory limit, and the EXIF edits must stay inside the block.
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "imaging/lossless_transform.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"

using namespace vistrel;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  imaging::setPixelMemoryLimit(fuzz::kPixelMemoryLimit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t choice = data[0];
  imaging::TransformRequest request;
  request.transform = imaging::JpegTransform(choice % 8);
  request.trim = (choice & 0x08) != 0;
  request.forceGrayscale = (choice & 0x10) != 0;
  request.followOrientation = (choice & 0x20) != 0;
  request.resetOrientation = (choice & 0x40) != 0;
  const auto copy = (choice & 0x80) != 0 ? imaging::MarkerCopy::All : imaging::MarkerCopy::Comments;
  try {
    imaging::TransformJpeg(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), request, copy);
  } catch (const Error&) {
  }
  return 0;
}
