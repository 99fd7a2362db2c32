#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

inline constexpr const char* kCacheSynopsis = "cache [--jobs N] FOLDER... | cache --clean";

// "vistrel cache FOLDER...": makes or renews the thumbnail cache entries of the
// image files of the folders; "vistrel cache --clean" removes the entries whose
// sources are gone. The cache settings are the stored program options.
std::unique_ptr<Command> makeCacheCommand(std::vector<std::string> args);

}  // namespace vistrel::cli
