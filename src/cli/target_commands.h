#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel copy|move --to DIR FILE..." and "vistrel trash FILE...": the file
// list's "Copy to ..", "Move to .." and "Delete" on the command line.
const CommandInfo& copyCommand();
const CommandInfo& moveCommand();
const CommandInfo& trashCommand();

}  // namespace vistrel::cli
