#include "browser/cache_usage.h"

#include "browser/cache_folder.h"
#include "platform/files.h"

namespace vistrel::browser {
namespace fs = std::filesystem;

namespace {

// Removes the empty folders below `folder`, deepest first; fs::remove takes
// only empty ones, so anything that still holds a file stays.
void removeEmptyFolders(const fs::path& folder) {
  std::error_code ec;
  std::vector<fs::path> subFolders;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code statError;
    if (fs::is_directory(it->symlink_status(statError))) subFolders.push_back(it->path());
  }
  for (const fs::path& sub : subFolders) {
    removeEmptyFolders(sub);
    fs::remove(sub, ec);
  }
}

}  // namespace

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

CacheEntries cacheEntries(const fs::path& root) {
  refuseForeignFolder(root);
  CacheEntries entries;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    if (!isCacheEntry(it->path())) continue;
    std::error_code sizeError;
    const std::uintmax_t size = it->file_size(sizeError);
    if (!sizeError) entries.bytes += size;
    entries.files.push_back(it->path());
  }
  return entries;
}

void trashCacheEntries(const fs::path& root, const CacheEntries& entries) {
  for (const fs::path& file : entries.files) platform::moveToTrash(file);
  removeEmptyFolders(root);
}

}  // namespace vistrel::browser
