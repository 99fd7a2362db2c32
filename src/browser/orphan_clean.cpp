#include "browser/orphan_clean.h"

#include <thread>
#include <vector>

#include "browser/cache_folder.h"
#include "browser/cache_location.h"
#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/log.h"
#include "platform/threads.h"

namespace vistrel::browser {
namespace {

namespace fs = std::filesystem;

// The cache file's path below the root is its source's absolute path.
fs::path sourceOf(const fs::path& cacheFile, const fs::path& root) {
  return fs::path("/") / cacheFile.lexically_relative(root);
}

void cleanFolder(const fs::path& folder, const fs::path& root, const std::atomic<bool>& stop,
                 CleanResult& result) {
  std::vector<fs::path> subFolders;
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code statError;
    const fs::file_status status = it->symlink_status(statError);
    if (fs::is_directory(status)) {
      subFolders.push_back(it->path());
    } else if (!fs::exists(sourceOf(it->path(), root), statError) && isCachePicture(it->path()) &&
               fs::remove(it->path(), statError)) {
      ++result.filesDeleted;
    }
  }
  platform::removeStaleTemporaryFiles(folder);
  // remove() takes only an empty folder; one that still holds folders stays.
  if (folder != root && fs::remove(folder, ec)) ++result.foldersRemoved;
  for (const fs::path& sub : subFolders) {
    if (stop) return;
    if (sub.filename().string().starts_with('.') || fs::exists(sub / kOfflineMarker, ec)) continue;
    cleanFolder(sub, root, stop, result);
  }
}

}  // namespace

CleanResult cleanOrphans(const fs::path& root, const std::atomic<bool>& stop) {
  fs::path normal = root.lexically_normal();
  if (normal.filename().empty()) normal = normal.parent_path();  // "cache/" is "cache"
  refuseForeignFolder(normal);
  CleanResult result;
  cleanFolder(normal, normal, stop, result);
  return result;
}

void startOrphanClean(const fs::path& root) {
  std::thread([root] {
    platform::useIdlePriority();
    static const std::atomic<bool> never{false};
    try {
      cleanOrphans(root, never);
    } catch (const Error& error) {
      log::warning(error.what());
    }
  }).detach();
}

}  // namespace vistrel::browser
