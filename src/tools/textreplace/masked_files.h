#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace vistrel::textreplace {

// The files of the folder (not below it, hidden ones left out) whose names
// match one of the masks, separated by ";", without regard to case, in name
// order. "*.*" matches every name, and a mask's three-letter extension also
// stands for the longer ones that start with it, as the masks' original
// system matched them: "*.htm" lists the ".html" pages galleries are written
// as. A folder that cannot be read gives nothing.
std::vector<std::filesystem::path> listMaskedFiles(const std::filesystem::path& folder, std::string_view masks);

}  // namespace vistrel::textreplace
