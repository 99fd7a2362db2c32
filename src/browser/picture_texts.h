#pragma once

#include <filesystem>
#include <string>

#include "platform/dates.h"

namespace vistrel::browser {

// The full-screen window's info line: "File size: " with the size in KB
// (rounded down; "0 KB" for an empty or missing file), "    File date: " and
// the last-write date and time.
std::string FullScreenInfoText(const std::filesystem::path& file);

// The title line of a printed picture: "<file> printed <date> <time>".
std::string PrintTitle(const std::string& file, const platform::DateTime& printed);

}  // namespace vistrel::browser
