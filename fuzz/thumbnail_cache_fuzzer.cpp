// A cache entry is whatever file lies at the entry's place: damaged by a
// crash, or planted. Its freshness must follow the time stamps alone, the
// check for a cache picture must refuse what is none, and the view's load
// of a current entry must end in a picture or an Error.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "browser/cache_folder.h"
#include "browser/thumbnail_cache.h"
#include "fuzz_support.h"
#include "imaging/image_file.h"
#include "imaging/pixel_limits.h"
#include "platform/files.h"

using namespace vistrel;
namespace fs = std::filesystem;

namespace {

// On an even second, so that the entry's DOS stamp is the source's own.
const platform::SystemTime kSourceTime = std::chrono::system_clock::from_time_t(1700000000);

const fs::path& source() {
  static const fs::path made = [] {
    const fs::path file = fuzz::written("photos/a.jpg", std::string(4096, 'x'));
    platform::setLastWriteTime(file, kSourceTime);
    return file;
  }();
  return made;
}

// The cache with the source's entry folder made.
browser::ThumbnailCache& cache() {
  static auto* made = [] {
    imaging::setPixelMemoryLimit(fuzz::kPixelMemoryLimit);
    auto* cache = new browser::ThumbnailCache({.root = fuzz::scratchFolder() / "cache", .minFileSizeKB = 1});
    cache->prepareEntry(source());
    return cache;
  }();
  return *made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte sets the entry's stamp 0, 2 or 4 seconds after the source's.
  const std::chrono::seconds late(2 * (data[0] % 3));
  const fs::path entry = cache().cachePath(source());
  fuzz::written(fs::relative(entry, fuzz::scratchFolder()), std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  platform::setLastWriteTime(entry, kSourceTime + late);
  if (cache().isCurrent(source()) != (late.count() == 0)) std::abort();
  (void)browser::isCacheEntry(entry);
  if (late.count() == 0) {
    if (cache().thumbnailSource(source()) != entry) std::abort();
    (void)imaging::LoadImageBitmap(entry, 0);
  }
  return 0;
}
