#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel import --from DIR --to DIR": copies or moves the files of a card's
// or camera's folder into a photo folder, as the browser's transfer does.
const CommandInfo& importCommand();

}  // namespace vistrel::cli
