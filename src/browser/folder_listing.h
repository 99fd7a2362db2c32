#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dates.h"

namespace vistrel::browser {

struct ListingOptions {
  bool includeHidden = false;     // "Include hidden files"
  bool allFiles = false;          // View > "Show all files (*.*)"
  bool includeEncrypted = false;  // "Include encrypted files (*.vxx) in file list"
};

// One row of the file list as a listing makes it.
struct ListedFile {
  std::filesystem::path path;  // its bytes, for every file operation
  std::string name;             // as shown: displayName of the file name
  std::uint64_t size = 0;
  platform::SystemTime lastWrite;
  std::string sizeText;  // the date's text is made when a row is shown: formatting it costs more than the rest
};

// The files of a folder the list shows, in name order. A folder that cannot be
// read gives an empty list.
std::vector<ListedFile> listFolderFiles(const std::filesystem::path& folder, const ListingOptions& options);
// The row of one file, as a listing gives it (for a file a command has just
// made). Throws Error when the file cannot be read.
ListedFile listedFile(const std::filesystem::path& file);

// (size + 1024) div 1024 followed by " KB": a 0-byte file shows 1 KB.
std::string sizeText(std::uint64_t bytes);
// Local short date and long time, the time left out at midnight.
std::string fileDateText(platform::SystemTime time);

}  // namespace vistrel::browser
