#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel resize FILE...": scaled JPEG copies of pictures, as the quick
// resize window makes them, with its stored settings as defaults.
const CommandInfo& resizeCommand();

}  // namespace vistrel::cli
