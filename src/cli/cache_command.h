#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel cache FOLDER...": makes or renews the thumbnail cache entries of the
// image files of the folders; "vistrel cache --clean" removes the entries whose
// sources are gone. The cache settings are the stored program options.
const CommandInfo& cacheCommand();

}  // namespace vistrel::cli
