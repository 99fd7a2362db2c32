#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

// Uploads a folder to a server of the site list.
std::unique_ptr<Command> makeFtpCommand(std::vector<std::string> args);

}  // namespace vistrel::cli
