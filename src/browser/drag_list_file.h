#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::browser {

// A drag-list file (".vfl"): one full path per line, every line ended by CR LF.

// Lines may end with CR LF, CR or LF; an empty line is an empty entry. A line
// that is not UTF-8 keeps its bytes when it names an existing file, else it is
// decoded by textFromFile. Throws Error.
std::vector<std::string> readDragList(const std::filesystem::path& file);
// Replaces the file only once the new one is complete. Throws Error.
void writeDragList(const std::filesystem::path& file, const std::vector<std::string>& entries);
// The name with ".vfl" appended unless it already ends so (in any case).
std::filesystem::path withDragListExtension(const std::filesystem::path& file);

}  // namespace vistrel::browser
