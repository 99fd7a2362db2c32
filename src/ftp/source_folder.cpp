#include "ftp/source_folder.h"

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::ftp {

namespace fs = std::filesystem;

std::vector<fs::path> uploadFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : platform::listFolder(folder)) {
    std::error_code ec;
    // Sockets, pipes and devices cannot be sent as files.
    if (entry.isFolder || entry.hidden || !fs::is_regular_file(entry.path, ec)) continue;
    files.push_back(entry.path);
  }
  return files;
}

SourceSummary summarizeSource(const fs::path& folder) {
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) return {false, "Invalid source folder", ""};
  std::uint64_t count = 0, bytes = 0;
  try {
    for (const auto& entry : platform::listFolder(folder)) {
      if (entry.isFolder) continue;
      ++count;
      bytes += entry.size;
    }
  } catch (const Error&) {
    // An unreadable folder shows as empty; the upload itself reports the error.
  }
  return {true, "Source folder contains: " + std::to_string(count) + " files",
          "Total file size is:  " + std::to_string((bytes + 1024) / 1024) + " KB"};
}

}  // namespace vistrel::ftp
