#include "imaging/pixel_limits.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "platform/error.h"

namespace vistrel::imaging {
namespace {
std::atomic<std::size_t> limit{std::size_t{1} << 30};
}

std::size_t pixelMemoryLimit() { return limit.load(std::memory_order_relaxed); }

void setPixelMemoryLimit(std::size_t bytes) { limit.store(bytes, std::memory_order_relaxed); }

void checkPixelMemory(std::int64_t width, std::int64_t height, std::int64_t bytesPerPixel) {
  if (width < 0 || height < 0) throw Error("The picture has invalid dimensions.");
  // An empty side still must not let the other one overflow a row stride, so
  // each side counts at least once. Both factors are below 2^31 and their
  // product fits; the division keeps the last multiplication from overflowing.
  const auto pixels = static_cast<std::uint64_t>(std::max<std::int64_t>(width, 1)) *
                      static_cast<std::uint64_t>(std::max<std::int64_t>(height, 1));
  if (bytesPerPixel > 0 && pixels > pixelMemoryLimit() / static_cast<std::uint64_t>(bytesPerPixel)) {
    throw Error("The picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                " pixels).");
  }
}

}  // namespace vistrel::imaging
