#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel iptc set FIELD=VALUE... FILE..." writes the IPTC editor's fields into
// photos; "vistrel iptc show FILE..." prints them.
const CommandInfo& iptcCommand();

}  // namespace vistrel::cli
