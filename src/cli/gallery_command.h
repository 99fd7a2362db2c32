#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

// vistrel gallery [OPTIONS] [FILE|FOLDER ...]: the gallery run without windows.
const CommandInfo& galleryCommand();

}  // namespace vistrel::cli
