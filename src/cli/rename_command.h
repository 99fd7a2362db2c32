#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel rename --pattern P FILE...": names the files by a pattern with a
// running number and the photos' dates, as the rename series of the browser.
const CommandInfo& renameCommand();

}  // namespace vistrel::cli
