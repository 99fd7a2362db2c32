#include "browser/cache_location.h"

namespace vistrel::browser {
namespace {

bool isRemovable(const platform::VolumeInfo& volume) {
  return volume.type == platform::DriveType::Removable || volume.type == platform::DriveType::Optical;
}

// A key shorter than four characters cannot tell media apart.
std::string mediumKey(const platform::VolumeInfo& volume) {
  const std::string& key = volume.uuid.empty() ? volume.label : volume.uuid;
  return key.size() > 3 && key.find('/') == std::string::npos ? key : std::string();
}

}  // namespace

CacheLocation::CacheLocation(std::filesystem::path root) : root_(std::move(root)) {}

const platform::VolumeInfo& CacheLocation::volumeOf(const std::filesystem::path& folder) {
  auto it = volumes_.find(folder);
  if (it == volumes_.end()) it = volumes_.emplace(folder, platform::volumeInfo(folder)).first;
  return it->second;
}

bool CacheLocation::isOnRemovableMedium(const std::filesystem::path& source) {
  return isRemovable(volumeOf(std::filesystem::absolute(source).lexically_normal().parent_path()));
}

std::filesystem::path CacheLocation::cachePath(const std::filesystem::path& source) {
  const std::filesystem::path full = std::filesystem::absolute(source).lexically_normal();
  const platform::VolumeInfo& volume = volumeOf(full.parent_path());
  if (isRemovable(volume)) {
    if (const std::string key = mediumKey(volume); !key.empty()) {
      return root_ / key / full.lexically_relative(volume.mountPoint);
    }
  }
  return root_ / full.relative_path();
}

}  // namespace vistrel::browser
