#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

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

}  // namespace vistrel::platform
