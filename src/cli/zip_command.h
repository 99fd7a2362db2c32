#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel zip ARCHIVE FILE..." adds the files to a ZIP archive.
const CommandInfo& zipCommand();

}  // namespace vistrel::cli
