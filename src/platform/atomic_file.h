#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

namespace vistrel::platform {

// A file written under a temporary name in the target folder and renamed over
// the final name by commit(), after its data reached the disk. A writer that
// fails or is killed leaves the old file (or none) under the final name; the
// destructor removes an uncommitted temporary file. The temporary name is
// ".vistrel-tmp-PID-XXXXXX", so that one left by a killed process can be told
// from the user's files (see removeStaleTemporaryFiles).
//
// With Durability::WhenReplacing only a file that replaces another is synced
// before its rename: a new file puts no old data at risk, so a writer of many
// new files syncs them all at once at its end (syncFileSystem) instead of
// waiting for the disk after each.
enum class Durability { Always, WhenReplacing };

class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path target, Durability durability = Durability::Always);  // throws Error
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void write(std::string_view bytes);  // throws Error
  void write(const void* data, std::size_t size);
  // For libraries that write through stdio (libjpeg, libpng).
  std::FILE* stream() { return stream_; }
  void commit();  // throws Error
  // Like commit(), but to `target` in the same folder and never over an
  // existing file: false when one is there, and the data stays uncommitted,
  // so that commit() or another name can follow. Throws Error.
  bool commitAsNew(const std::filesystem::path& target);

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& temporaryPath() const { return temporary_; }

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  // Flushes, syncs (unless told not to) and closes the temporary file once.
  void finish(bool sync = true);

  Durability durability_;
  std::FILE* stream_ = nullptr;
  bool finished_ = false;
  bool committed_ = false;
};

// Removes the temporary files of AtomicFile in the folder (not below it) whose
// process has ended and which have not changed for a minute. Returns what was
// removed; files that cannot be removed are left alone.
std::vector<std::filesystem::path> removeStaleTemporaryFiles(const std::filesystem::path& folder);
// Writes everything waiting for the file system that holds the folder to
// its disk. Throws Error.
void syncFileSystem(const std::filesystem::path& folder);

// The same in each folder that holds one of the files.
void removeStaleTemporaryFilesBeside(const std::vector<std::filesystem::path>& files);

}  // namespace vistrel::platform
