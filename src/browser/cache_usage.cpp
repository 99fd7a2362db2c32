#include "browser/cache_usage.h"

#include <vector>

#include "platform/files.h"

namespace vistrel::browser {
namespace fs = std::filesystem;

CacheUsage cacheUsage(const fs::path& root, const std::atomic<bool>* stop) {
  CacheUsage usage;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end && !(stop && *stop); it.increment(ec)) {
    std::error_code entryError;
    if (it->is_directory(entryError)) {
      ++usage.folders;
    } else if (it->is_regular_file(entryError)) {
      ++usage.files;
      const std::uintmax_t size = it->file_size(entryError);
      if (!entryError) usage.bytes += size;
    }
  }
  return usage;
}

void trashCacheContents(const fs::path& root) {
  std::error_code ec;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
  for (const fs::path& entry : entries) platform::moveToTrash(entry);
}

}  // namespace vistrel::browser
