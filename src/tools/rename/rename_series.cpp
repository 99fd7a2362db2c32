#include "tools/rename/rename_series.h"

#include <algorithm>
#include <optional>

#include "browser/cache_location.h"
#include "metadata/descriptions.h"
#include "metadata/summaries.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tools/rename/series_names.h"

namespace vistrel::rename {
namespace {

namespace fs = std::filesystem;

// The names of one file: the first choice by the running number, then the
// collision names by the counter.
class FileNames {
 public:
  FileNames(const fs::path& file, const RenameSettings& settings, const std::string& pattern)
      : file_(file), settings_(settings), pattern_(pattern) {
    if (wantsDateStamp(pattern)) stamp_ = dateStamp(metadata::PhotoDateOfFile(file), settings);
  }

  fs::path numbered(long long number) const { return pathOf(pattern_, numberText(number, settings_.digits)); }

  fs::path counted(int counter) const {
    const std::string pattern = pattern_.find('#') == std::string::npos ? pattern_ + "#" : pattern_;
    return pathOf(pattern, "(" + std::to_string(counter) + ")");
  }

 private:
  fs::path pathOf(const std::string& pattern, const std::string& number) const {
    std::string name = expandPattern(pattern, stamp_, number) + file_.extension().string();
    if (settings_.lowerCase) name = platform::lowerCase(name);
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
      throw Error("\"" + name + "\" is not a file name");
    }
    return file_.parent_path() / name;
  }

  const fs::path& file_;
  const RenameSettings& settings_;
  const std::string& pattern_;
  std::string stamp_;
};

// Renames the file to its first free name; nothing when one of its names is
// its own already.
std::optional<fs::path> renameOne(const fs::path& file, const FileNames& names, long long number, RenameDisk& disk) {
  fs::path target = names.numbered(number);
  for (int counter = 1; counter < 100000; ++counter) {
    if (target == file) return std::nullopt;
    if (!disk.exists(target) && disk.rename(file, target)) return target;
    target = names.counted(counter);
  }
  throw Error("No free name for " + platform::displayName(file.filename()));
}

}  // namespace

bool RenameDisk::exists(const fs::path& path) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

bool RenameDisk::rename(const fs::path& from, const fs::path& to) { return platform::renameNoReplace(from, to); }

void RenameDisk::follow(const fs::path& from, const fs::path& to) {
  if (cache_) {
    // The cache is ours: a stale entry under the new name may be replaced.
    const fs::path entry = cache_->cachePath(from);
    std::error_code ec;
    if (fs::exists(entry, ec)) fs::rename(entry, entry.parent_path() / to.filename(), ec);
  }
  metadata::CarryDescription(from, to);
}

void RenameDisk::finish(const std::vector<fs::path>& folders) { metadata::PurgeDescriptions(folders); }

bool PlannedDisk::exists(const fs::path& path) const {
  if (added_.contains(path)) return true;
  return !removed_.contains(path) && RenameDisk::exists(path);
}

bool PlannedDisk::rename(const fs::path& from, const fs::path& to) {
  if (exists(to)) return false;
  added_.erase(from);
  removed_.insert(from);
  removed_.erase(to);
  added_.insert(to);
  return true;
}

RenameResult renameSeries(const std::vector<fs::path>& files, const RenameSettings& settings, RenameDisk& disk,
                          const RenameEvents& events) {
  const std::string pattern = settings.pattern.empty() ? "#" : settings.pattern;
  long long number = settings.startNumber;
  RenameResult result;
  std::vector<fs::path> touched;
  for (const fs::path& file : files) {
    if (events.starting) events.starting(file);
    std::optional<fs::path> target;
    try {
      target = renameOne(file, FileNames(file, settings, pattern), number, disk);
    } catch (const Error& error) {
      result.failed.push_back({file, error.what()});
      continue;
    }
    if (!target) {
      result.unchanged.push_back(file);
      continue;
    }
    ++number;
    result.renamed.emplace_back(file, *target);
    if (events.renamed) events.renamed(file, *target);
    if (std::find(touched.begin(), touched.end(), file.parent_path()) == touched.end()) {
      touched.push_back(file.parent_path());
    }
    try {
      disk.follow(file, *target);
    } catch (const Error& error) {
      result.failed.push_back({*target, std::string("Renamed, but ") + error.what()});
    }
  }
  try {
    disk.finish(touched);
  } catch (const Error& error) {
    result.failed.push_back({metadata::kDescriptionFileName, error.what()});
  }
  return result;
}

}  // namespace vistrel::rename
