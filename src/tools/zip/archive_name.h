#pragma once

#include <filesystem>
#include <string_view>

namespace vistrel::zip {

// The choices of the compression list, in its order, with the pack level each
// stands for (0 stores the files as they are).
struct PackLevel {
  const char* caption;
  int level;
};
inline constexpr PackLevel kPackLevels[] = {
    {"Maximum (slowest)", 9}, {"Normal", 7}, {"Fast", 5}, {"Super fast", 3}, {"None", 0}};
inline constexpr int kDefaultPackChoice = 2;  // "Fast"

// The archive the zip run writes for the name typed: ".zip" is appended
// unless the name has that extension already, in any case ("photos.ZIP"
// stays, "photos.rar" becomes "photos.rar.zip").
std::filesystem::path archivePath(std::string_view typed);

}  // namespace vistrel::zip
