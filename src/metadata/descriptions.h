#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::metadata {

// One-line descriptions of files, kept per folder in "descript.ion": a line
// per file, the name first (in double quotes when it holds a blank), a blank,
// the description. The file is read fresh for every operation; each line goes
// through textFromFile, names are matched as displayName shows them, and a
// changed file is written in UTF-8.
inline constexpr const char* kDescriptionFileName = "descript.ion";

// The text as one line: line breaks become blanks, blank runs one blank.
std::string CleanDescription(std::string_view text);
// The description of the file; empty when it has none. Throws Error when the
// folder's description file exists but cannot be read.
std::string DescriptionOf(const std::filesystem::path& file);
// Every description of the folder by file name as shown (platform::displayName;
// of a name given twice, the later line), for callers that look up many
// files. Throws as DescriptionOf.
std::map<std::string, std::string> FolderDescriptions(const std::filesystem::path& folder);
// Sets (or with an empty text removes) the description. Throws Error when the
// description file cannot be saved, so that a lost change is never silent.
void SetDescription(const std::filesystem::path& file, std::string_view text);
// After a file was renamed, moved or copied to `to`: the description of
// `from` becomes that of `to`, and a line `to` had of a file before it goes.
// Nothing is written where neither has one. Throws as SetDescription.
void CarryDescription(const std::filesystem::path& from, const std::filesystem::path& to);
// Drops the lines of files that no longer exist. Every folder is tried; an
// Error for the first one that could not be saved is thrown at the end.
void PurgeDescriptions(const std::vector<std::filesystem::path>& folders);

}  // namespace vistrel::metadata
