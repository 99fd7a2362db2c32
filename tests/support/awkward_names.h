#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vistrel::test {

// A file name that photographers really have, each a hazard somewhere:
// blanks, accents composed and decomposed, "&", "#", "%", "?", a backslash,
// quotes, "<>", a tab, a line break, a leading dash that a command line could
// take for an option, and bytes that are not UTF-8 (a Latin-1 name from an old
// card). Base names, without extension.
struct AwkwardName {
  std::string onDisk;
  std::string shown;  // as the user reads it, in UTF-8
};
std::span<const AwkwardName> awkwardNames();

// Writes `content` as `subfolder`/NAME`extension` for every awkward name and
// returns the paths in the table's order.
std::vector<std::filesystem::path> writeAwkwardFiles(const TempFolder& folder, const std::string& subfolder,
                                                     const std::string& extension, const std::string& content);

}  // namespace vistrel::test
