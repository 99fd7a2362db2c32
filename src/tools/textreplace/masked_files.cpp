#include "tools/textreplace/masked_files.h"

#include <fnmatch.h>

#include <algorithm>
#include <string>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::textreplace {
namespace {

bool globMatches(const std::string& mask, const std::string& name) {
  return ::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE | FNM_PERIOD) == 0;
}

bool maskMatches(const std::string& mask, const std::string& name) {
  if (mask == "*.*" || globMatches(mask, name)) return true;
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.size() - dot <= 4) return false;
  return globMatches(mask, name.substr(0, dot + 4));
}

std::vector<std::string> splitMasks(std::string_view text) {
  std::vector<std::string> masks;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(';', start), text.size());
    const std::string_view mask = platform::trimBlanks(text.substr(start, end - start));
    if (!mask.empty()) masks.emplace_back(mask);
    start = end + 1;
  }
  return masks;
}

}  // namespace

std::vector<std::filesystem::path> listMaskedFiles(const std::filesystem::path& folder, std::string_view masks) {
  std::vector<platform::FolderEntry> entries;
  try {
    entries = platform::listFolder(folder);
  } catch (const Error&) {
    return {};
  }
  const std::vector<std::string> patterns = splitMasks(masks);
  std::vector<std::filesystem::path> files;
  for (const platform::FolderEntry& entry : entries) {
    if (entry.isFolder || entry.hidden) continue;
    const std::string name = entry.path.filename().string();
    if (std::any_of(patterns.begin(), patterns.end(),
                    [&](const std::string& mask) { return maskMatches(mask, name); })) {
      files.push_back(entry.path);
    }
  }
  return files;
}

}  // namespace vistrel::textreplace
