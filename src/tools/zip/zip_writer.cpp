#include "tools/zip/zip_writer.h"

#include <zip.h>

#include <fstream>
#include <optional>
#include <set>

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/free_names.h"
#include "tools/zip/zip_sources.h"

namespace vistrel::zip {
namespace {

namespace fs = std::filesystem;

struct Entry {
  fs::path file;
  std::string name;
};

// With paths the entry keeps the file's whole path below the root, as
// unpacking programs refuse names that start with "/".
std::string entryName(const fs::path& file, bool storePaths) {
  if (!storePaths) return file.filename().string();
  return fs::absolute(file).lexically_normal().relative_path().generic_string();
}

// Why the file cannot go into the archive; nothing when it can.
std::optional<std::string> unreadable(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return ec ? ec.message() : "not a file";
  if (!std::ifstream(file, std::ios::binary)) return "cannot be read";
  return std::nullopt;
}

std::vector<Entry> entriesOf(const std::vector<fs::path>& files, bool storePaths, const ZipEvents& events,
                             ZipResult& result) {
  std::vector<Entry> entries;
  std::set<fs::path> seen;
  platform::FreeNames names;
  for (const fs::path& file : files) {
    if (!seen.insert(fs::absolute(file).lexically_normal()).second) continue;
    if (const auto reason = unreadable(file)) {
      ++result.skipped;
      if (events.skipped) events.skipped(file, *reason);
      continue;
    }
    entries.push_back({file, names.claim(entryName(file, storePaths))});
  }
  return entries;
}

class Archive {
 public:
  explicit Archive(const fs::path& path) : path_(path) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = archiveFileSource(path, failure_);
    zip_ = zip_open_from_source(source, ZIP_CREATE, &error);
    if (!zip_) {
      zip_source_free(source);
      const std::string text = failure_.empty() ? zip_error_strerror(&error) : failure_;
      zip_error_fini(&error);
      throw Error("Cannot open " + path.string() + ": " + text);
    }
    zip_error_fini(&error);
  }
  ~Archive() {
    if (zip_) zip_discard(zip_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  void add(const Entry& entry, EntryWatch watch, const ZipOptions& options) {
    zip_source_t* source = entryFileSource(entry.file, std::move(watch), failure_);
    const zip_int64_t index = zip_file_add(zip_, entry.name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
    if (index < 0) {
      zip_source_free(source);
      fail();
    }
    const auto at = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(zip_, at, options.level == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                 static_cast<zip_uint32_t>(options.level)) != 0) {
      fail();
    }
    if (!options.password.empty() &&
        zip_file_set_encryption(zip_, at, ZIP_EM_AES_256, options.password.c_str()) != 0) {
      fail();
    }
  }

  // Writes the archive; false when it was cancelled.
  bool close(const bool& cancelled) {
    if (zip_close(zip_) == 0) {
      zip_ = nullptr;
      return true;
    }
    if (cancelled) return false;
    fail();
  }

 private:
  [[noreturn]] void fail() const {
    throw Error("Cannot write " + path_.string() + ": " + (failure_.empty() ? zip_strerror(zip_) : failure_));
  }

  fs::path path_;
  std::string failure_;  // ours, when a source failed; libzip's text says less
  zip_t* zip_ = nullptr;
};

}  // namespace

ZipResult ZipFiles(const fs::path& archive, const std::vector<fs::path>& files, const ZipOptions& options,
                   const ZipEvents& events) {
  ZipResult result;
  const std::vector<Entry> entries = entriesOf(files, options.storePaths, events, result);
  if (entries.empty()) return result;
  if (!options.password.empty() && !zip_encryption_method_supported(ZIP_EM_AES_256, 1)) {
    throw Error("The installed ZIP library cannot encrypt archives.");
  }
  // A run killed while writing left its temporary archive beside this one.
  platform::removeStaleTemporaryFiles(archive.parent_path().empty() ? "." : archive.parent_path());
  Archive zip(archive);
  bool cancelled = false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EntryWatch watch;
    watch.opening = [&events, &entries, i] {
      if (events.adding) events.adding(i + 1, entries.size(), entries[i].file);
    };
    watch.cancelled = [&events, &cancelled] { return cancelled = cancelled || (events.cancelled && events.cancelled()); };
    zip.add(entries[i], std::move(watch), options);
  }
  if (!zip.close(cancelled)) {
    result.cancelled = true;
    return result;
  }
  result.added = entries.size();
  return result;
}

}  // namespace vistrel::zip
