#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel info FILE...": the metadata of each file as the info panel shows it.
const CommandInfo& infoCommand();

}  // namespace vistrel::cli
