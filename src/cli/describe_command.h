#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel describe (--text TEXT | --clear) [--comment TEXT] FILE...": the
// files' lines in descript.ion and, on request, the JPEG comment.
const CommandInfo& describeCommand();

}  // namespace vistrel::cli
