#pragma once

#include <atomic>
#include <filesystem>

#include "tools/search/ti_search.h"

namespace vistrel::search {

// Whether the file holds the phrase. The file is read in blocks, so its size
// does not matter, and a phrase that straddles two blocks is found. Returns
// false as soon as `cancel` is set. Throws Error when the file cannot be
// opened or read.
bool fileContains(const std::filesystem::path& file, const TTISearch& phrase, const std::atomic<bool>& cancel);

}  // namespace vistrel::search
