#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vistrel::platform {

// The files a run of the program wrote into a folder the user gave it, kept
// in a hidden file there, so that later runs can tell them from the user's
// own files: a gallery takes none of them as photos, and an upload of the
// folder knows which sub-folders belong to it.
inline constexpr const char* kOutputManifestName = ".vistrel-outputs";

// A file as it lies on disk: enough to tell that it was changed or replaced.
struct FileStamp {
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since the epoch
  bool operator==(const FileStamp&) const = default;
};
// Nothing when the file is not there.
std::optional<FileStamp> fileStamp(const std::filesystem::path& file);

// What a listed file was made from, so that a later run can tell whether it
// would come out the same and which files belong to a photo: the source's
// path and stamp, a digest of everything else that shaped it (empty when the
// file is not kept by it), and the file's own stamp when it was written.
struct OutputRecord {
  std::string source;
  FileStamp sourceStamp;
  std::string digest;
  FileStamp outputStamp;
  bool operator==(const OutputRecord&) const = default;
};

// The manifest's name for a file below the folder: relative, "/" between
// folders; empty when the file cannot be listed (outside, or a line break in
// its name).
std::string manifestEntry(const std::filesystem::path& folder, const std::filesystem::path& file);

// The files listed; empty when the folder has no manifest or it cannot be read.
std::set<std::string> readOutputManifest(const std::filesystem::path& folder);
// The records of the listed files, by entry.
std::map<std::string, OutputRecord> readOutputRecords(const std::filesystem::path& folder);

// Adds the files (which lie below the folder) and the records, by file, to its
// manifest, dropping the entries whose files are gone; the records of files
// not given stay. Concurrent runs both keep theirs. Throws Error.
void recordOutputs(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& files,
                   const std::map<std::filesystem::path, OutputRecord>& records = {});

}  // namespace vistrel::platform
