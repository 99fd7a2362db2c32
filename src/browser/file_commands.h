#pragma once

#include <filesystem>
#include <string>

#include "browser/thumbnail_cache.h"
#include "options/program_options.h"

namespace vistrel::browser {

// Renames a listed file to `newName` in its folder, carrying its description
// over to the new name and dropping the old line. Returns the new path. Throws
// Error with the list's message when the file system refuses the rename.
std::filesystem::path renameListedFile(const std::filesystem::path& file, const std::string& newName);

// Overwrites the whole file with "x" bytes, flushes that to the disk and only
// then deletes it, so that the old contents cannot be read back. Throws Error
// "Unable to delete <path>" when the file cannot be opened, written or deleted.
void wipeFile(const std::filesystem::path& file);

// The cache settings the thumbnail cache takes from the program options.
CacheSettings cacheSettingsOf(const options::ProgramOptions& options);

}  // namespace vistrel::browser
