#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "ftp/site_list.h"

namespace vistrel::ftp {

// What a file was when it was uploaded.
struct FileState {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // the file system's time stamp, in its own units
  std::string digest;         // SHA-256 of the content, in hex

  bool operator==(const FileState&) const = default;
};

// Reads the file's state; throws Error when it cannot be read.
FileState fileState(const std::filesystem::path& file);

// Whether the file still has the recorded content. The digest is only worked
// out when the size matches and the time stamp does not, as a gallery run
// rewrites pages without changing them.
bool sameContent(const FileState& recorded, const std::filesystem::path& file);

// The files uploaded to one folder of one server, by their remote names (with
// "/" between folders), kept in the program's configuration folder. Each
// change is saved at once, so that an interrupted upload knows what arrived.
class UploadManifest {
 public:
  // Loads the manifest of the site's remote folder; none reads as empty.
  UploadManifest(const Site& site, const std::string& remoteFolder);
  explicit UploadManifest(std::filesystem::path file);

  const std::map<std::string, FileState>& files() const { return files_; }
  const std::filesystem::path& file() const { return file_; }

  // Both save the manifest atomically; throw Error.
  void record(const std::string& remoteName, const FileState& state);
  void forget(const std::string& remoteName);

 private:
  void load();
  void save() const;

  std::filesystem::path file_;
  std::map<std::string, FileState> files_;
};

}  // namespace vistrel::ftp
