#include "metadata/descriptions.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

namespace fs = std::filesystem;

struct Line {
  std::string name;
  std::string description;
};

std::optional<Line> parseLine(std::string_view line) {
  if (line.starts_with('"')) {
    const auto close = line.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    return Line{std::string(line.substr(1, close - 1)), std::string(line.substr(std::min(close + 2, line.size())))};
  }
  const auto blank = line.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  return Line{std::string(line.substr(0, blank)), std::string(line.substr(blank + 1))};
}

std::string nameOf(std::string_view line) {
  const auto parsed = parseLine(line);
  return parsed ? parsed->name : std::string();
}

fs::path descriptionFileOf(const fs::path& folder) { return folder / kDescriptionFileName; }

std::vector<std::string> loadLines(const fs::path& descriptionFile) {
  std::vector<std::string> lines;
  std::error_code error;
  if (!fs::exists(descriptionFile, error)) return lines;
  std::string text;
  try {
    text = platform::readFile(descriptionFile);
  } catch (const std::exception&) {
    throw Error("Cannot read " + descriptionFile.string());
  }
  for (std::size_t start = 0; start < text.size();) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = std::string_view(text).substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    // Line by line: an older program may have added Latin-1 lines to a UTF-8 file.
    if (!line.empty()) lines.push_back(platform::textFromFile(line));
    start = end + 1;
  }
  return lines;
}

void saveLines(const fs::path& descriptionFile, std::vector<std::string> lines) {
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::string& a, const std::string& b) { return platform::asciiLower(a) < platform::asciiLower(b); });
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  platform::writeFileAtomically(descriptionFile, text);
}

// Lines name files as they are shown, which for a name that is not UTF-8 is
// not its name on disk: compare with what the folder's names show.
std::set<std::string> shownNamesIn(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.insert(platform::displayName(it->path().filename()));
  }
  return names;
}

}  // namespace

std::string CleanDescription(std::string_view text) {
  std::string result(text);
  const auto replaceAll = [&](std::string_view from, std::string_view to) {
    bool changed = false;
    for (auto at = result.find(from); at != std::string::npos; at = result.find(from, at + to.size())) {
      result.replace(at, from.size(), to);
      changed = true;
    }
    return changed;
  };
  for (bool changed = true; changed;) {
    changed = replaceAll("\n\r", " ");
    changed |= replaceAll("\r", " ");
    changed |= replaceAll("\n", " ");
    changed |= replaceAll("  ", " ");
  }
  return result;
}

std::string DescriptionOf(const fs::path& file) {
  const auto descriptions = FolderDescriptions(file.parent_path());
  const auto found = descriptions.find(platform::displayName(file.filename()));
  return found == descriptions.end() ? std::string() : found->second;
}

std::map<std::string, std::string> FolderDescriptions(const fs::path& folder) {
  std::map<std::string, std::string> descriptions;
  for (const std::string& line : loadLines(descriptionFileOf(folder))) {
    if (auto parsed = parseLine(line)) descriptions[parsed->name] = std::move(parsed->description);
  }
  return descriptions;
}

void SetDescription(const fs::path& file, std::string_view text) {
  const std::string description = CleanDescription(text);
  const std::string name = platform::displayName(file.filename());
  const fs::path descriptionFile = descriptionFileOf(file.parent_path());
  std::vector<std::string> lines = loadLines(descriptionFile);
  std::erase_if(lines, [&](const std::string& line) { return nameOf(line) == name; });
  if (!description.empty()) {
    lines.push_back((name.find(' ') == std::string::npos ? name : "\"" + name + "\"") + " " + description);
  }
  saveLines(descriptionFile, std::move(lines));
}

void CarryDescription(const fs::path& from, const fs::path& to) {
  const std::string description = DescriptionOf(from);
  if (!description.empty() || !DescriptionOf(to).empty()) SetDescription(to, description);
}

void PurgeDescriptions(const std::vector<fs::path>& folders) {
  std::optional<Error> firstFailure;
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
    const fs::path descriptionFile = descriptionFileOf(*folder);
    std::error_code error;
    if (!fs::exists(descriptionFile, error)) continue;
    try {
      std::vector<std::string> lines = loadLines(descriptionFile);
      const std::set<std::string> names = shownNamesIn(*folder);
      std::erase_if(lines, [&](const std::string& line) { return !names.contains(nameOf(line)); });
      saveLines(descriptionFile, std::move(lines));
    } catch (const Error& e) {
      if (!firstFailure) firstFailure = e;
    }
  }
  if (firstFailure) throw *firstFailure;
}

}  // namespace vistrel::metadata
