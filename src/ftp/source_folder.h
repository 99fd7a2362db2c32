#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::ftp {

// One file of an upload: where it lies, and its path below the remote folder
// ("name", or "folder/name" for a file of a sub-folder).
struct UploadFile {
  std::filesystem::path local;
  std::string remote;
  bool operator==(const UploadFile&) const = default;
};

// The files an upload sends: those directly in the folder, then those of the
// sub-folders that the folder's output manifest names (a gallery's thumbnail
// and image folders), each in name order; never hidden files or folders.
// Other sub-folders stay at home. Throws Error when the folder cannot be read.
std::vector<UploadFile> uploadFiles(const std::filesystem::path& folder);

// What the dialog shows under its source field.
struct SourceSummary {
  bool valid = false;  // the folder exists
  std::string filesText;  // "Source folder contains: N files" or "Invalid source folder"
  std::string sizeText;   // "Total file size is:  K KB", empty for an invalid folder
};

// Counts every file directly in the folder (hidden ones too, sub-folders not).
SourceSummary summarizeSource(const std::filesystem::path& folder);

}  // namespace vistrel::ftp
