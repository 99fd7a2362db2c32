#include "platform/volume_info.h"

#include <unistd.h>

#include <QStorageInfo>
#include <QString>
#include <algorithm>
#include <fstream>
#include <set>

#include "platform/text.h"

namespace vistrel::platform {
namespace {

namespace fs = std::filesystem;

// The kernel marks removable block devices (card readers, USB sticks) in
// /sys/class/block/<dev>/removable; for a partition the flag is on its disk.
bool isRemovableDevice(const std::string& device) {
  if (device.rfind("/dev/", 0) != 0) return false;
  std::error_code ec;
  const fs::path node = fs::canonical(fs::path("/sys/class/block") / fs::path(device).filename(), ec);
  if (ec) return false;
  for (const fs::path& candidate : {node / "removable", node.parent_path() / "removable"}) {
    std::ifstream in(candidate);
    char flag = '0';
    if (in >> flag) return flag == '1';
  }
  return false;
}

std::string uuidOf(const std::string& device) {
  std::error_code ec;
  const fs::path real = fs::canonical(device, ec);
  if (ec) return {};
  for (auto it = fs::directory_iterator("/dev/disk/by-uuid", ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code linkError;
    if (fs::canonical(it->path(), linkError) == real) return it->path().filename().string();
  }
  return {};
}

DriveType typeOf(const std::string& fileSystem, const std::string& device) {
  static const std::set<std::string> optical{"iso9660", "udf"};
  static const std::set<std::string> network{"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "9p"};
  static const std::set<std::string> ram{"tmpfs", "ramfs"};
  if (optical.count(fileSystem) || device.rfind("/dev/sr", 0) == 0) return DriveType::Optical;
  if (network.count(fileSystem)) return DriveType::Network;
  if (ram.count(fileSystem)) return DriveType::RamDisk;
  return isRemovableDevice(device) ? DriveType::Removable : DriveType::Fixed;
}

bool isDesktopMount(const std::string& mountPoint) {
  const std::string gvfs = "/run/user/" + std::to_string(::getuid()) + "/gvfs/";
  return mountPoint.starts_with("/media/") || mountPoint.starts_with("/run/media/") || mountPoint.starts_with(gvfs);
}

std::vector<fs::path> subfolders(const fs::path& folder) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool holdsFiles(const fs::path& folder) {
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) return true;
  }
  return false;
}

// The "DCIM" folder of a volume in any case of letters, as card file systems keep names.
void addCameraFolders(const fs::path& root, std::vector<fs::path>& found) {
  for (const fs::path& folder : subfolders(root)) {
    if (!equalsIgnoreCase(folder.filename().string(), "DCIM")) continue;
    if (holdsFiles(folder)) found.push_back(folder);
    const std::vector<fs::path> inner = subfolders(folder);
    found.insert(found.end(), inner.begin(), inner.end());
  }
}

}  // namespace

std::vector<fs::path> removableMountPoints() {
  std::vector<fs::path> found;
  for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
    if (!storage.isValid() || !storage.isReady()) continue;
    const std::string root = storage.rootPath().toStdString();
    const std::string device = storage.device().toStdString();
    if (isDesktopMount(root + "/") || isRemovableDevice(device)) found.emplace_back(root);
  }
  return found;
}

std::vector<fs::path> cameraFolders(const std::vector<fs::path>& mountPoints) {
  std::vector<fs::path> found;
  for (const fs::path& root : mountPoints) {
    addCameraFolders(root, found);
    // A camera over gvfs shows its storages ("Internal storage", "Card") first.
    for (const fs::path& storage : subfolders(root)) addCameraFolders(storage, found);
  }
  return found;
}

VolumeInfo volumeInfo(const std::filesystem::path& path) {
  const QStorageInfo storage(QString::fromStdString(path.string()));
  if (!storage.isValid()) return {};
  VolumeInfo info;
  info.mountPoint = storage.rootPath().toStdString();
  info.device = storage.device().toStdString();
  info.fileSystem = storage.fileSystemType().toStdString();
  info.label = storage.name().toStdString();
  info.uuid = uuidOf(info.device);
  info.type = typeOf(info.fileSystem, info.device);
  info.size = static_cast<std::uint64_t>(storage.bytesTotal());
  info.free = static_cast<std::uint64_t>(storage.bytesAvailable());
  return info;
}

}  // namespace vistrel::platform
