#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/error.h"

namespace vistrel::platform {
namespace {

std::string describe(const std::string& what, const std::filesystem::path& path) {
  return what + " " + path.string() + ": " + std::strerror(errno);
}

// umask() can only be read by changing it, which races with other threads;
// the kernel reports it in /proc/self/status.
mode_t currentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  return 022;
}

mode_t modeForTarget(const std::filesystem::path& target) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
  return 0666 & ~currentUmask();
}

void syncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {
  std::string pattern = (target_.parent_path() / ("." + target_.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) throw Error(describe("Cannot create", target_));
  temporary_ = pattern;
  ::fchmod(fd, modeForTarget(target_));
  stream_ = ::fdopen(fd, "wb");
  if (!stream_) {
    ::close(fd);
    std::filesystem::remove(temporary_);
    throw Error(describe("Cannot write", target_));
  }
}

AtomicFile::~AtomicFile() {
  if (stream_) std::fclose(stream_);
  if (!committed_) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

void AtomicFile::write(std::string_view bytes) { write(bytes.data(), bytes.size()); }

void AtomicFile::write(const void* data, std::size_t size) {
  if (size > 0 && std::fwrite(data, 1, size, stream_) != size) throw Error(describe("Cannot write", target_));
}

void AtomicFile::finish() {
  if (finished_) return;
  if (!stream_) throw Error(describe("Cannot write", target_));  // an earlier finish failed
  const bool flushed = std::fflush(stream_) == 0 && ::fsync(::fileno(stream_)) == 0;
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (!flushed || !closed) throw Error(describe("Cannot write", target_));
  finished_ = true;
}

void AtomicFile::commit() {
  finish();
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) throw Error(describe("Cannot replace", target_));
  committed_ = true;
  syncFolder(target_.parent_path());
}

bool AtomicFile::commitAsNew(const std::filesystem::path& target) {
  finish();
  if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) throw Error(describe("Cannot create", target));
    // A file system without the flag: a hard link refuses an existing name just as well.
    if (::link(temporary_.c_str(), target.c_str()) != 0) {
      if (errno == EEXIST) return false;
      throw Error(describe("Cannot create", target));
    }
    ::unlink(temporary_.c_str());
  }
  target_ = target;
  committed_ = true;
  syncFolder(target_.parent_path());
  return true;
}

}  // namespace vistrel::platform
