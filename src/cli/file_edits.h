#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::cli {

// Runs the edit on every file. A file that is missing or whose edit throws is
// named on standard error ("vistrel COMMAND: NAME: why") and the others are
// still done. Returns the exit status: 0 when every file was changed, else 1.
int editEachFile(const std::string& command, const std::vector<std::string>& files,
                 const std::function<void(const std::filesystem::path&)>& edit);

}  // namespace vistrel::cli
