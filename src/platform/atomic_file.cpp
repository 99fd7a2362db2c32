#include "platform/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::platform {
namespace {

constexpr std::string_view kTemporaryPrefix = ".vistrel-tmp-";

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

void syncFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY);
  const bool synced = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!synced) throw Error(describe("Cannot write", file));
}

// The process that made a temporary file name, or 0 when the name is not one.
pid_t ownerOf(const std::string& name) {
  if (!name.starts_with(kTemporaryPrefix)) return 0;
  const std::string rest = name.substr(kTemporaryPrefix.size());
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || rest.size() - dash - 1 != 6) return 0;
  pid_t pid = 0;
  for (std::size_t i = 0; i < dash; ++i) {
    if (rest[i] < '0' || rest[i] > '9' || pid > 99999999) return 0;
    pid = pid * 10 + (rest[i] - '0');
  }
  return pid;
}

bool processEnded(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target, Durability durability)
    : target_(std::move(target)), durability_(durability) {
  const std::string name = std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-XXXXXX";
  std::string pattern = (target_.parent_path() / name).string();
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

void AtomicFile::finish(bool sync) {
  if (finished_) return;
  if (!stream_) throw Error(describe("Cannot write", target_));  // an earlier finish failed
  const bool flushed = std::fflush(stream_) == 0 && (!sync || ::fsync(::fileno(stream_)) == 0);
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (!flushed || !closed) throw Error(describe("Cannot write", target_));
  finished_ = true;
}

void AtomicFile::commit() {
  std::error_code ec;
  const bool replaces = std::filesystem::exists(std::filesystem::symlink_status(target_, ec));
  if (durability_ == Durability::WhenReplacing && !replaces) {
    finish(false);
    if (renameNoReplace(temporary_, target_)) {
      committed_ = true;
      return;
    }
    // Another file took the name meanwhile: it is replaced like any other.
    syncFile(temporary_);
  }
  finish();
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) throw Error(describe("Cannot replace", target_));
  committed_ = true;
  syncFolder(target_.parent_path());
}

bool AtomicFile::commitAsNew(const std::filesystem::path& target) {
  finish();
  if (!renameNoReplace(temporary_, target)) return false;
  target_ = target;
  committed_ = true;
  syncFolder(target_.parent_path());
  return true;
}

std::vector<std::filesystem::path> removeStaleTemporaryFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> removed;
  std::error_code ec;
  const auto quietSince = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1);
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t owner = ownerOf(it->path().filename().string());
    std::error_code fileError;
    if (owner == 0 || !it->is_regular_file(fileError) || !processEnded(owner)) continue;
    if (it->last_write_time(fileError) > quietSince || fileError) continue;
    if (std::filesystem::remove(it->path(), fileError)) removed.push_back(it->path());
  }
  return removed;
}

void syncFileSystem(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  const bool synced = fd >= 0 && ::syncfs(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!synced) throw Error(describe("Cannot write", folder));
}

void removeStaleTemporaryFilesBeside(const std::vector<std::filesystem::path>& files) {
  std::set<std::filesystem::path> folders;
  for (const std::filesystem::path& file : files) folders.insert(file.parent_path().empty() ? "." : file.parent_path());
  for (const std::filesystem::path& folder : folders) removeStaleTemporaryFiles(folder);
}

}  // namespace vistrel::platform
