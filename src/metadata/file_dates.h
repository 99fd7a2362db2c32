#pragma once

#include <filesystem>

#include "platform/dates.h"

namespace vistrel::metadata {

// The time stamps the file-date dialog sets. There is no creation time here:
// Linux file systems keep it themselves and offer no way to set it.
struct FileTimeChoice {
  bool modified = true;
  bool accessed = true;
};

// Sets the chosen time stamps of the file to the local date and time, to the
// second. Throws Error for a date that does not exist and when the file's
// times cannot be set.
void SetFileDate(const std::filesystem::path& file, const platform::DateTime& local, FileTimeChoice which);

}  // namespace vistrel::metadata
