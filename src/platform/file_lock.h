#pragma once

#include <filesystem>

namespace vistrel::platform {

// An exclusive lock between processes (flock), held while the object lives;
// the lock goes with the descriptor, so a killed holder frees it. A folder is
// locked as it is; a file path is created empty when missing. Files that are
// replaced by renaming cannot carry their own lock: lock a file beside them,
// or their folder. Throws Error when the lock cannot be taken.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace vistrel::platform
