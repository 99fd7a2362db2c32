#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel mail --to ADDR FILE..." sends the files as attachments of one e-mail.
const CommandInfo& mailCommand();

}  // namespace vistrel::cli
