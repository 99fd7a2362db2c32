// One reader of the format table (FUZZ_FORMAT, its name there) on arbitrary
// bytes: header read and decode at a reduction taken from the data (to a
// bitmap and, for readers that offer it, to red-first rows) must end in a
// picture or an Error, within the lowered pixel memory limit.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "fuzz_support.h"
#include "imaging/codecs/format_table.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"
#include "platform/log.h"

using namespace vistrel;

namespace {

const imaging::codecs::ImageFormat& format() {
  for (const auto& f : imaging::codecs::imageFormats()) {
    if (f.name == std::string_view(FUZZ_FORMAT)) return f;
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  log::setSink([](log::Level, std::string_view) {});
  imaging::setPixelMemoryLimit(fuzz::kPixelMemoryLimit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto decoder = format().factory();
  try {
    decoder->readHeader(bytes);
  } catch (const Error&) {
  }
  try {
    const int reduction = size > 0 ? data[size - 1] % 4 : 0;
    const auto image = decoder->decode(bytes, {reduction, 0});
    if (image.bitmap.Width() < 0 || image.bitmap.Height() < 0) std::abort();
  } catch (const Error&) {
  }
  try {
    const int reduction = size > 0 ? data[size - 1] % 4 : 0;
    const auto picture = decoder->decodeRgb(bytes, {reduction, 0});
    if (picture && picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height * 3) {
      std::abort();
    }
  } catch (const Error&) {
  }
  return 0;
}
