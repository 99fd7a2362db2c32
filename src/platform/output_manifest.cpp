#include "platform/output_manifest.h"

#include "platform/file_lock.h"
#include "platform/files.h"

namespace vistrel::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "# Files written here by Vistrel; they are not taken as photos.\n";

}  // namespace

std::set<std::string> readOutputManifest(const fs::path& folder) {
  const fs::path file = folder / kOutputManifestName;
  std::set<std::string> entries;
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return entries;
  std::string text;
  try {
    text = readFile(file);
  } catch (const std::exception&) {
    return entries;
  }
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (!line.empty() && !line.starts_with('#')) entries.insert(line);
    start = end + 1;
  }
  return entries;
}

void recordOutputs(const fs::path& folder, const std::vector<fs::path>& files) {
  if (files.empty()) return;
  const FileLock lock(folder);
  std::set<std::string> entries;
  std::error_code ec;
  for (const std::string& entry : readOutputManifest(folder)) {
    if (fs::exists(folder / entry, ec)) entries.insert(entry);
  }
  for (const fs::path& file : files) {
    const std::string entry = file.lexically_relative(folder).generic_string();
    // A line per file: a name that holds a line break cannot be listed.
    if (!entry.empty() && !entry.starts_with("..") && entry.find_first_of("\r\n") == std::string::npos) {
      entries.insert(entry);
    }
  }
  std::string text(kHeader);
  for (const std::string& entry : entries) text += entry + "\n";
  writeFileAtomically(folder / kOutputManifestName, text);
}

}  // namespace vistrel::platform
