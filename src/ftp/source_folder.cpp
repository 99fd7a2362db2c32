#include "ftp/source_folder.h"

#include <set>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/output_manifest.h"

namespace vistrel::ftp {

namespace fs = std::filesystem;

namespace {

void addFiles(const fs::path& folder, const std::string& remoteFolder, std::vector<UploadFile>& files) {
  for (const auto& entry : platform::listFolder(folder)) {
    std::error_code ec;
    // Sockets, pipes and devices cannot be sent as files.
    if (entry.isFolder || entry.hidden || !fs::is_regular_file(entry.path, ec)) continue;
    const std::string name = entry.path.filename().string();
    files.push_back({entry.path, remoteFolder.empty() ? name : remoteFolder + "/" + name});
  }
}

// The sub-folders a program run wrote files into.
std::set<std::string> outputFolders(const fs::path& folder) {
  std::set<std::string> names;
  for (const std::string& entry : platform::readOutputManifest(folder)) {
    const std::size_t slash = entry.find('/');
    if (slash == std::string::npos) continue;
    const std::string name = entry.substr(0, slash);
    std::error_code ec;
    if (!name.starts_with('.') && fs::is_directory(folder / name, ec)) names.insert(name);
  }
  return names;
}

}  // namespace

std::vector<UploadFile> uploadFiles(const fs::path& folder) {
  std::vector<UploadFile> files;
  addFiles(folder, "", files);
  for (const std::string& name : outputFolders(folder)) addFiles(folder / name, name, files);
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
