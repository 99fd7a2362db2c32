#pragma once

#include <filesystem>
#include <map>

#include "platform/volume_info.h"

namespace vistrel::browser {

// Where the thumbnail cache keeps the entry of a source file: the cache root
// followed by the source's absolute path (/home/ann/a.jpg → ROOT/home/ann/a.jpg).
// Sources on removable or optical media are keyed by their volume's UUID (or
// label) instead of the mount point, so that two cards or discs in the same
// reader do not share entries; their cache folders are marked with "cd.id" and
// the orphan clean leaves them alone while the medium is away.
class CacheLocation {
 public:
  explicit CacheLocation(std::filesystem::path root);

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path cachePath(const std::filesystem::path& source);
  // Whether the source lies on a removable or optical medium.
  bool isOnRemovableMedium(const std::filesystem::path& source);

 private:
  const platform::VolumeInfo& volumeOf(const std::filesystem::path& folder);

  std::filesystem::path root_;
  std::map<std::filesystem::path, platform::VolumeInfo> volumes_;  // by source folder
};

// The marker file of a cache folder whose sources may be offline.
inline constexpr const char* kOfflineMarker = "cd.id";

}  // namespace vistrel::browser
