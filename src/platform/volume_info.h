#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::platform {

enum class DriveType { Unknown, Removable, Fixed, Network, Optical, RamDisk };

// What the system knows of the volume a path lies on.
struct VolumeInfo {
  std::filesystem::path mountPoint;
  std::string device;
  std::string fileSystem;
  std::string label;
  std::string uuid;  // the file system's UUID, or empty
  DriveType type = DriveType::Unknown;
  std::uint64_t size = 0;
  std::uint64_t free = 0;
};

// Nothing is thrown: a path on no readable volume gives DriveType::Unknown.
VolumeInfo volumeInfo(const std::filesystem::path& path);

// Cards and cameras show up as mounted volumes: the mount points of the
// removable ones (by the kernel's flag, or mounted by the desktop under
// /media, /run/media or a camera's gvfs folder).
std::vector<std::filesystem::path> removableMountPoints();
// The folders that hold a camera's pictures on those volumes: each folder in
// a "DCIM" folder at the top of the volume (or one level down, where a camera
// shows its storages as folders), and "DCIM" itself when files lie in it.
std::vector<std::filesystem::path> cameraFolders(const std::vector<std::filesystem::path>& mountPoints);

}  // namespace vistrel::platform
