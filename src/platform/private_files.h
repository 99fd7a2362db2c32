#pragma once

#include <filesystem>
#include <string_view>

namespace vistrel::platform {

// Files that hold passwords are readable by the user alone (0600) and lie in a
// folder only the user can enter (0700), so other users of the machine cannot
// read them whatever the umask.

// Narrows the file (when it exists) and its folder to those modes where they
// are wider, and logs a warning for each one corrected. Throws Error when a
// mode cannot be changed.
void keepPrivate(const std::filesystem::path& file);

// Writes the file atomically as such a file, creating its folder 0700. The
// content is never readable by others, not even while it is written.
void writePrivateFile(const std::filesystem::path& file, std::string_view content);

}  // namespace vistrel::platform
