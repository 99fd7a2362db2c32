#include "tools/search/my_ff.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/case_folding.h"
#include "platform/error.h"
#include "tools/search/file_content.h"
#include "tools/search/file_masks.h"
#include "tools/search/ti_search.h"

namespace vistrel::search {
namespace fs = std::filesystem;

namespace {

platform::SystemTime timeOf(const struct stat& info) {
  return platform::SystemTime(std::chrono::duration_cast<platform::SystemTime::duration>(
      std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
}

struct Entry {
  std::string name;
  unsigned char type;
};

class Folder {
 public:
  explicit Folder(const fs::path& path) : dir_(::opendir(path.c_str())) {}
  ~Folder() {
    if (dir_) ::closedir(dir_);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  bool open() const { return dir_ != nullptr; }
  int fd() const { return ::dirfd(dir_); }
  // The entries but "." and "..", in name order.
  std::vector<Entry> entries() const {
    std::vector<Entry> list;
    while (const dirent* entry = ::readdir(dir_)) {
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") list.push_back({std::string(name), entry->d_type});
    }
    std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return list;
  }

 private:
  DIR* dir_;
};

// The entry's kind with the link to a file taken as a file; DT_UNKNOWN for
// what the walk leaves alone (devices, links to folders, vanished entries).
unsigned char kindOf(const Folder& folder, const Entry& entry) {
  if (entry.type == DT_REG || entry.type == DT_DIR) return entry.type;
  if (entry.type != DT_LNK && entry.type != DT_UNKNOWN) return DT_UNKNOWN;
  struct stat info {};
  if (::fstatat(folder.fd(), entry.name.c_str(), &info, entry.type == DT_LNK ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
    return DT_UNKNOWN;
  }
  if (S_ISREG(info.st_mode)) return DT_REG;
  return S_ISDIR(info.st_mode) && entry.type == DT_UNKNOWN ? DT_DIR : DT_UNKNOWN;
}

}  // namespace

struct TMyFF::Walk {
  Walk(const std::atomic<bool>& stop, const std::string& text, bool stat) : cancel(stop), details(stat) {
    if (!text.empty()) phrase.emplace(text);
    groups.resize(std::size_t(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(std::size_t(std::max(::getgroups(int(groups.size()), groups.data()), 0)));
    groups.push_back(::getegid());
  }

  const std::atomic<bool>& cancel;
  const bool details;  // a hit is looked up for its size, time and permissions
  std::optional<TTISearch> phrase;
  uid_t user = ::geteuid();
  std::vector<gid_t> groups;  // the user's, the effective one among them

  // Read-only as the permissions say it, for the owner, the group or others
  // as the user is one of them. The superuser's licence to write anyway is
  // left out: it would make no file read-only for root.
  bool readOnly(const struct stat& info) const {
    if (info.st_uid == user) return (info.st_mode & S_IWUSR) == 0;
    if (std::find(groups.begin(), groups.end(), info.st_gid) != groups.end()) return (info.st_mode & S_IWGRP) == 0;
    return (info.st_mode & S_IWOTH) == 0;
  }
};

TMyFF::TMyFF(FileCriteria criteria) : criteria_(std::move(criteria)) {
  if (criteria_.masks.empty()) criteria_.masks = {"*"};
  if (criteria_.minSize > criteria_.maxSize) std::swap(criteria_.minSize, criteria_.maxSize);
  if (criteria_.from > criteria_.to) std::swap(criteria_.from, criteria_.to);
}

bool TMyFF::Search(fs::path start, const std::atomic<bool>& cancel) const {
  std::string text = start.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  start = text;
  std::error_code ec;
  if (!fs::is_directory(start, ec)) return true;
  Walk run(cancel, criteria_.phrase, needsDetails());
  return walk(start, run);
}

bool TMyFF::needsDetails() const {
  const FileCriteria all;
  return DetailsWanted || criteria_.minSize != all.minSize || criteria_.maxSize != all.maxSize ||
         criteria_.from != all.from || criteria_.to != all.to || !criteria_.readOnly;
}

bool TMyFF::walk(const fs::path& folder, Walk& run) const {
  if (run.cancel || (OnDirectory && !OnDirectory(folder))) return false;
  std::vector<std::string> subfolders;
  if (!searchFolder(folder, run, subfolders)) return false;
  for (const std::string& name : subfolders) {
    if (!walk(folder / name, run)) return false;
  }
  return true;
}

// Tests the folder's files, the cheapest test first: the name needs no system
// call, size, time and attributes one each, the content reads the file. The
// folder is closed again before its sub-folders are walked.
bool TMyFF::searchFolder(const fs::path& folder, Walk& run, std::vector<std::string>& subfolders) const {
  const Folder dir(folder);
  if (!dir.open()) {
    if (OnError) OnError(folder, std::strerror(errno));
    return true;
  }
  for (const Entry& entry : dir.entries()) {
    if (run.cancel) return false;
    const bool hidden = entry.name.front() == '.';
    if (hidden && !criteria_.hidden) continue;
    const unsigned char kind = kindOf(dir, entry);
    if (kind == DT_DIR && criteria_.recurse) subfolders.push_back(entry.name);
    if (kind != DT_REG || !anyMaskMatches(criteria_.masks, platform::lowerCaseSameLength(entry.name))) continue;
    FoundFile hit{folder / entry.name, 0, {}};
    if (run.details) {
      struct stat info {};
      if (::fstatat(dir.fd(), entry.name.c_str(), &info, 0) != 0) continue;
      hit.size = static_cast<std::uint64_t>(info.st_size);
      hit.lastWrite = timeOf(info);
      if (hit.size < criteria_.minSize || hit.size > criteria_.maxSize) continue;
      if (hit.lastWrite < criteria_.from || hit.lastWrite > criteria_.to) continue;
      if (!criteria_.readOnly && run.readOnly(info)) continue;
    }
    if (run.phrase) {
      try {
        if (!fileContains(hit.path, *run.phrase, run.cancel)) continue;
      } catch (const Error& error) {
        if (OnError) OnError(hit.path, error.what());
        continue;
      }
    }
    if (OnFileFound && !OnFileFound(hit)) return false;
  }
  return true;
}

}  // namespace vistrel::search
