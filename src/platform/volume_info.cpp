#include "platform/volume_info.h"

#include <QStorageInfo>
#include <QString>
#include <fstream>
#include <set>

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

}  // namespace

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
