#include "platform/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/log.h"

namespace vistrel::platform {
namespace {

void narrow(const std::filesystem::path& path, mode_t allowed, const char* what) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode)) return;
  if ((info.st_mode & 0777 & ~allowed) == 0) return;
  if (::chmod(path.c_str(), info.st_mode & allowed) != 0) {
    throw Error("Cannot make " + path.string() + " private: " + std::strerror(errno));
  }
  log::warning(std::string("The ") + what + " " + path.string() +
               " could be read by other users; it is now open to you alone.");
}

void createPrivateFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  if (std::filesystem::exists(folder, ec)) return;
  createFolders(folder.parent_path());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    throw Error("Cannot create folder " + folder.string() + ": " + std::strerror(errno));
  }
}

// AtomicFile gives the new file the mode of the one it replaces: a file that
// is first made empty with 0600 has its content never readable by others.
void createEmptyPrivateFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
  } else if (errno != EEXIST) {
    throw Error("Cannot create " + file.string() + ": " + std::strerror(errno));
  }
}

}  // namespace

void keepPrivate(const std::filesystem::path& file) {
  narrow(file.parent_path(), 0700, "folder");
  narrow(file, 0600, "file");
}

void writePrivateFile(const std::filesystem::path& file, std::string_view content) {
  createPrivateFolder(file.parent_path());
  createEmptyPrivateFile(file);
  keepPrivate(file);
  writeFileAtomically(file, content);
}

}  // namespace vistrel::platform
