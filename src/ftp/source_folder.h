#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::ftp {

// The files an upload sends: those directly in the folder, without sub-folders
// and hidden files. Throws Error when the folder cannot be read.
std::vector<std::filesystem::path> uploadFiles(const std::filesystem::path& folder);

// What the dialog shows under its source field.
struct SourceSummary {
  bool valid = false;  // the folder exists
  std::string filesText;  // "Source folder contains: N files" or "Invalid source folder"
  std::string sizeText;   // "Total file size is:  K KB", empty for an invalid folder
};

// Counts every file directly in the folder (hidden ones too, sub-folders not).
SourceSummary summarizeSource(const std::filesystem::path& folder);

}  // namespace vistrel::ftp
