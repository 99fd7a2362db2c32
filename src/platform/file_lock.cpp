#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/error.h"

namespace vistrel::platform {

FileLock::FileLock(const std::filesystem::path& path) {
  std::error_code ec;
  const bool folder = std::filesystem::is_directory(path, ec);
  fd_ = folder ? ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
               : ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) throw Error("Cannot lock " + path.string() + ": " + std::strerror(errno));
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      const int error = errno;
      ::close(fd_);
      throw Error("Cannot lock " + path.string() + ": " + std::strerror(error));
    }
  }
}

FileLock::~FileLock() { ::close(fd_); }

}  // namespace vistrel::platform
