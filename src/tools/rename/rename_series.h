#pragma once

#include <filesystem>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "platform/file_operation.h"
#include "tools/rename/rename_settings.h"

namespace vistrel::browser {
class CacheLocation;
}

namespace vistrel::rename {

// The file system as a rename series sees it. This one is the real disk: a
// rename never replaces a file, and a renamed file takes its description and
// its cached thumbnail along.
class RenameDisk {
 public:
  // Without a cache, cached thumbnails are left where they are.
  explicit RenameDisk(browser::CacheLocation* cache = nullptr) : cache_(cache) {}
  virtual ~RenameDisk() = default;

  virtual bool exists(const std::filesystem::path& path) const;
  // False when `to` is taken, also by a file that appeared after exists()
  // said it was free. Throws Error.
  virtual bool rename(const std::filesystem::path& from, const std::filesystem::path& to);
  // What belongs to a renamed file follows it. Throws Error.
  virtual void follow(const std::filesystem::path& from, const std::filesystem::path& to);
  // After the run: the description lines of the old names go. Throws Error.
  virtual void finish(const std::vector<std::filesystem::path>& folders);

 private:
  browser::CacheLocation* cache_;
};

// A disk on which nothing changes: the renames are only planned, so that a
// dry run gives the names a real run would.
class PlannedDisk : public RenameDisk {
 public:
  bool exists(const std::filesystem::path& path) const override;
  bool rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void follow(const std::filesystem::path&, const std::filesystem::path&) override {}
  void finish(const std::vector<std::filesystem::path>&) override {}

 private:
  std::set<std::filesystem::path> added_, removed_;
};

struct RenameEvents {
  std::function<void(const std::filesystem::path& file)> starting;
  std::function<void(const std::filesystem::path& from, const std::filesystem::path& to)> renamed;
};

struct RenameResult {
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> renamed;  // from, to
  std::vector<std::filesystem::path> unchanged;                                  // named as the pattern says already
  std::vector<platform::FileFailure> failed;
};

// Renames the files, in order, by the pattern of the settings. The running
// number starts at the start number and goes up with each renamed file. A
// taken name gives way to the pattern with "(1)", "(2)" … in place of the
// number (appended when it has no "#"); a file that carries its name already
// keeps it and uses no number. A failing file keeps its name and is listed
// with the reason; the run goes on.
RenameResult renameSeries(const std::vector<std::filesystem::path>& files, const RenameSettings& settings,
                          RenameDisk& disk, const RenameEvents& events = {});

}  // namespace vistrel::rename
