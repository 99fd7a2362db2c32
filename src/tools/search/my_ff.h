#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/dates.h"

namespace vistrel::search {

// What a file must be like to be found. Sizes are in bytes and times are the
// last-write time; both windows include their ends.
struct FileCriteria {
  std::vector<std::string> masks{"*"};  // as parseMaskList gives them
  // The attributes a hit may have. A hidden file (its name starts with ".") or
  // a read-only one (its permissions do not let the user write it) is found
  // only when allowed; no file here is a system file.
  bool hidden = true;
  bool readOnly = true;
  bool system = false;
  std::string phrase;  // the content must hold it; empty: content not looked at
  bool recurse = true;
  std::uint64_t minSize = 0;
  std::uint64_t maxSize = std::numeric_limits<std::uint64_t>::max();
  platform::SystemTime from = platform::SystemTime::min();
  platform::SystemTime to = platform::SystemTime::max();
};

struct FoundFile {
  std::filesystem::path path;
  // Left at zero and the epoch when TMyFF::DetailsWanted is false and no
  // criterion needed them.
  std::uint64_t size = 0;
  platform::SystemTime lastWrite;
};

// Walks a folder tree for the files that meet the criteria: each folder's
// files in name order, then its sub-folders in name order. Folders reached
// through symbolic links are not entered (a link may lead back up the tree);
// with hidden files not allowed, hidden folders are not entered either.
class TMyFF {
 public:
  explicit TMyFF(FileCriteria criteria);

  // A folder is entered; false aborts the search.
  std::function<bool(const std::filesystem::path& folder)> OnDirectory;
  // A file is found; false aborts the search.
  std::function<bool(const FoundFile& file)> OnFileFound;
  // A folder or a file that could not be read; the search goes on without it.
  std::function<void(const std::filesystem::path& path, const std::string& message)> OnError;
  // Whether hits carry their size and time when no criterion asks for them:
  // that costs a system call per hit, the larger part of a search by name.
  bool DetailsWanted = true;

  // Searches below `start` (which loses a trailing "/"); a start that is not a
  // folder finds nothing. Stops soon after `cancel` is set, also inside a
  // large file. Returns false when the search was aborted or cancelled.
  bool Search(std::filesystem::path start, const std::atomic<bool>& cancel) const;

  const FileCriteria& criteria() const { return criteria_; }

 private:
  struct Walk;
  bool walk(const std::filesystem::path& folder, Walk& run) const;
  bool searchFolder(const std::filesystem::path& folder, Walk& run, std::vector<std::string>& subfolders) const;
  bool needsDetails() const;

  FileCriteria criteria_;
};

}  // namespace vistrel::search
