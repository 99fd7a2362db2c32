#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel rotate 90|180|270|auto FILE...": turns JPEG files losslessly, as
// the browser's rotate commands do, with the stored program options.
const CommandInfo& rotateCommand();

}  // namespace vistrel::cli
