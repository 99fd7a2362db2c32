#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel find DIR" prints the files below DIR that meet the criteria.
const CommandInfo& findCommand();

}  // namespace vistrel::cli
