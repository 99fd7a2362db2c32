#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel info FILE...": the metadata of each file as the info panel shows it.
std::unique_ptr<Command> makeInfoCommand(std::vector<std::string> args);

}  // namespace vistrel::cli
