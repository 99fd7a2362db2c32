#pragma once

#include <filesystem>
#include <string>

namespace vistrel::cli {

// The first line of the file, without its line break.
std::string passwordFromFile(const std::filesystem::path& file);

// Read without echo from the terminal, twice when `confirm`. Throws
// UsageError when there is no terminal (pointing to --password-file) or the
// two readings differ.
std::string passwordFromTerminal(bool confirm);

}  // namespace vistrel::cli
