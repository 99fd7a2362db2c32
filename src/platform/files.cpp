#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/text.h"
#include "platform/threads.h"

namespace vistrel::platform {
namespace {

[[noreturn]] void fail(const std::string& what, const fs::path& path) {
  throw Error(what + " " + path.string() + ": " + std::strerror(errno));
}

SystemTime fromTimespec(const timespec& ts) {
  return SystemTime(std::chrono::duration_cast<SystemTime::duration>(std::chrono::seconds(ts.tv_sec) +
                                                                      std::chrono::nanoseconds(ts.tv_nsec)));
}

timespec toTimespec(SystemTime time) {
  const auto since = time.time_since_epoch();
  auto seconds = std::chrono::floor<std::chrono::seconds>(since);
  const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds);
  return timespec{static_cast<time_t>(seconds.count()), static_cast<long>(nanos.count())};
}

using OpenFolder = std::unique_ptr<DIR, int (*)(DIR*)>;

OpenFolder openFolder(const fs::path& folder) { return {::opendir(folder.c_str()), &::closedir}; }

// The folder's next entry but "." and "..", or null after the last.
const char* nextName(DIR* dir) {
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") return entry->d_name;
  }
  return nullptr;
}

struct stat statOf(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) fail("Cannot read", path);
  return info;
}

// Index 0 of utimensat's pair is the access time, 1 the last-write time.
void setTime(const fs::path& file, int which, SystemTime time) {
  timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_OMIT}};
  times[which] = toTimespec(time);
  if (::utimensat(AT_FDCWD, file.c_str(), times, 0) != 0) fail("Cannot set the time of", file);
}

void copyTimes(const struct stat& from, const fs::path& to) {
  const timespec times[2] = {from.st_atim, from.st_mtim};
  ::utimensat(AT_FDCWD, to.c_str(), times, 0);
}

// 0, or the errno of a rename that would have replaced a file (EEXIST) or failed.
int renameWithoutReplacing(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the flag: a hard link refuses an existing name just as well.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return 0;
    const int error = errno;
    ::unlink(to.c_str());
    return error;
  }
  if (errno != EPERM && errno != ENOTSUP) return errno;
  // Neither (some FUSE mounts of cameras): the narrowest check there is.
  struct stat existing {};
  if (::lstat(to.c_str(), &existing) == 0) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Drops the file's cached pages, so that reading it back reads what reached the disk.
void dropCachedPages(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

// After a copy for a move: the copy must be the source, byte for byte, before
// the source may go. A copy that is not is removed again.
void verifyCopy(const fs::path& from, const fs::path& to) {
  dropCachedPages(to);
  std::error_code ec;
  const bool sound = fs::file_size(from, ec) == fs::file_size(to, ec) && !ec && sameContent(from, to);
  if (sound) return;
  fs::remove(to, ec);
  throw Error("The copy of " + from.string() + " in " + to.parent_path().string() +
              " differs from it; the file stays where it was");
}

}  // namespace

std::string lowerExtension(const fs::path& file) { return asciiLower(file.extension().string()); }

void createFolders(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw Error("Cannot create folder " + folder.string() + ": " + ec.message());
}

bool renameNoReplace(const fs::path& from, const fs::path& to) {
  const int error = renameWithoutReplacing(from, to);
  if (error == EEXIST) return false;
  if (error != 0) throw Error("Cannot rename " + from.string() + " to " + to.string() + ": " + std::strerror(error));
  return true;
}

fs::path numberedName(const fs::path& file, int number) {
  return file.parent_path() / (file.stem().string() + " (" + std::to_string(number) + ")" + file.extension().string());
}

bool copyFile(const fs::path& from, const fs::path& to, IfExists ifExists) {
  std::error_code ec;
  if (ifExists == IfExists::Keep && fs::exists(fs::symlink_status(to, ec))) return false;
  const struct stat source = statOf(from);
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) fail("Cannot open", from);
  try {
    AtomicFile out(to);
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) out.write(buffer, n);
    if (std::ferror(in)) fail("Cannot read", from);
    ::fchmod(::fileno(out.stream()), source.st_mode & 07777);
    if (ifExists == IfExists::Keep) {
      if (!out.commitAsNew(to)) {
        std::fclose(in);
        return false;
      }
    } else {
      out.commit();
    }
  } catch (...) {
    std::fclose(in);
    throw;
  }
  std::fclose(in);
  copyTimes(source, to);
  return true;
}

bool moveFile(const fs::path& from, const fs::path& to, IfExists ifExists) {
  const int error = ifExists == IfExists::Keep ? renameWithoutReplacing(from, to)
                                               : (::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno);
  if (error == 0) return true;
  if (error == EEXIST) return false;
  errno = error;
  if (error != EXDEV) fail("Cannot move", from);
  if (!copyFile(from, to, ifExists)) return false;
  verifyCopy(from, to);
  if (::unlink(from.c_str()) != 0) fail("Cannot remove", from);
  return true;
}

bool sameContent(const fs::path& a, const fs::path& b) {
  std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
  if (!first) fail("Cannot open", a);
  if (!second) fail("Cannot open", b);
  std::vector<char> one(1 << 16), two(1 << 16);
  for (;;) {
    first.read(one.data(), std::streamsize(one.size()));
    second.read(two.data(), std::streamsize(two.size()));
    if (first.gcount() != second.gcount()) return false;
    if (!std::equal(one.begin(), one.begin() + first.gcount(), two.begin())) return false;
    if (first.gcount() == 0 || !first || !second) return first.eof() && second.eof();
  }
}

void moveToTrash(const fs::path& path) {
  // Qt puts the Trash in the working folder when the user's data folder does
  // not exist yet (a fresh account): make sure it does.
  QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
  QFile file(QString::fromStdString(path.string()));
  if (!file.moveToTrash()) {
    throw Error("Cannot move " + path.string() + " to the Trash: " + file.errorString().toStdString());
  }
}

SystemTime lastWriteTime(const fs::path& file) { return fromTimespec(statOf(file).st_mtim); }
SystemTime lastAccessTime(const fs::path& file) { return fromTimespec(statOf(file).st_atim); }
void setLastWriteTime(const fs::path& file, SystemTime time) { setTime(file, 1, time); }
void setLastAccessTime(const fs::path& file, SystemTime time) { setTime(file, 0, time); }

bool isReadOnly(const fs::path& path) { return (statOf(path).st_mode & S_IWUSR) == 0; }

void setReadOnly(const fs::path& path, bool readOnly) {
  const mode_t mode = statOf(path).st_mode & 07777;
  const mode_t wanted = readOnly ? mode & ~mode_t(S_IWUSR) : mode | S_IWUSR;
  if (::chmod(path.c_str(), wanted) != 0) fail("Cannot change", path);
}

bool isHidden(const fs::path& path) {
  const std::string name = path.filename().string();
  return !name.empty() && name.front() == '.' && name != "." && name != "..";
}

std::size_t countFolderEntries(const fs::path& folder) {
  const OpenFolder dir = openFolder(folder);
  std::size_t count = 0;
  while (dir && nextName(dir.get())) ++count;
  return count;
}

std::vector<FolderEntry> listFolder(const fs::path& folder) {
  const OpenFolder dir = openFolder(folder);
  if (!dir) fail("Cannot read folder", folder);
  // The names are sorted by their bytes before anything else is made of them:
  // short ones lie in the strings themselves, so a sort of 100,000 of them
  // stays in a few megabytes instead of chasing a full path per comparison.
  std::vector<std::string> names;
  while (const char* name = nextName(dir.get())) names.emplace_back(name);
  std::sort(names.begin(), names.end());
  const std::string prefix = folder.native().ends_with('/') ? folder.native() : folder.native() + '/';
  // Relative to the open folder: a stat by the full path would walk that path
  // again for each of a large folder's files. Those calls take most of a
  // listing's time, so each processor makes its share; the helpers allocate
  // nothing, for memory they free would stay with their heaps.
  std::vector<struct stat> infos(names.size());
  std::vector<char> found(names.size(), 0);
  inParallel(names.size(), [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) found[i] = ::fstatat(::dirfd(dir.get()), names[i].c_str(), &infos[i], 0) == 0;
  });
  std::vector<FolderEntry> entries;
  entries.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!found[i]) continue;
    const struct stat& info = infos[i];
    entries.push_back({fs::path(prefix + names[i]), S_ISDIR(info.st_mode), static_cast<std::uint64_t>(info.st_size),
                       fromTimespec(info.st_mtim), names[i].front() == '.', (info.st_mode & S_IWUSR) == 0});
  }
  return entries;
}

std::string fileUri(const fs::path& file) {
  return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString(QUrl::FullyEncoded).toStdString();
}

std::string safeNameComponent(std::string_view name, std::string_view fallback) {
  const std::size_t cut = name.find_last_of("/\\");
  if (cut != std::string_view::npos) name.remove_prefix(cut + 1);
  std::string safe;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    const bool c1 = byte == 0xC2 && i + 1 < name.size() && static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(name[i + 1]) <= 0x9F;
    if (c1) {
      ++i;
    } else if (byte >= 0x20 && byte != 0x7F) {
      safe += name[i];
    }
  }
  return safe.empty() || safe == "." || safe == ".." ? std::string(fallback) : safe;
}

fs::path resolvedPath(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (ec) return path.lexically_normal();
  const fs::path real = fs::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal() : real;
}

bool liesInside(const fs::path& path, const fs::path& folder) {
  const fs::path inner = path.lexically_normal(), outer = folder.lexically_normal();
  const fs::path relative = inner.lexically_relative(outer);
  return !relative.empty() && *relative.begin() != "..";
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) fail("Cannot open", file);
  // One read of the size the file has now, then whatever it grew by meanwhile.
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  std::string content(ec ? 0 : static_cast<std::size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(in.gcount()));
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) content.append(chunk, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) fail("Cannot read", file);
  return content;
}

void writeFileAtomically(const fs::path& file, std::string_view content, Durability durability) {
  AtomicFile out(file, durability);
  out.write(content);
  out.commit();
}

}  // namespace vistrel::platform
