#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "browser/thumbnail_cache.h"
#include "options/program_options.h"

namespace vistrel::browser {

// Renames a listed file to `newName` in its folder, carrying its description
// over to the new name and dropping the old line. Returns the new path. Throws
// Error saying so when a file of that name exists or the name holds a "/",
// and with the list's message when the file system refuses the rename.
std::filesystem::path renameListedFile(const std::filesystem::path& file, const std::string& newName);

// Overwrites the whole file with "x" bytes, flushes that to the disk and only
// then deletes it, so that the old contents cannot be read back. Throws Error
// "Unable to delete <path>" when the file cannot be opened, written or deleted.
void wipeFile(const std::filesystem::path& file);

// The files a question is about: their names, one a line, the first `shown`
// of them and then how many more there are.
std::string namesForQuestion(const std::vector<std::filesystem::path>& files, std::size_t shown = 5);

// The cache settings the thumbnail cache takes from the program options.
CacheSettings cacheSettingsOf(const options::ProgramOptions& options);

}  // namespace vistrel::browser
