#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel encrypt FILE..." writes NAME.VXX beside each file; "vistrel decrypt
// FILE..." restores them. The password comes from a file or the terminal.
const CommandInfo& encryptCommand();
const CommandInfo& decryptCommand();

}  // namespace vistrel::cli
