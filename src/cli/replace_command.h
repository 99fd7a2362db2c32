#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel replace --find A --replace B FILE..." replaces text in files.
const CommandInfo& replaceCommand();

}  // namespace vistrel::cli
