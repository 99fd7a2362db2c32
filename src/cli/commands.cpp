#include <vector>

#include "cli/command.h"
#include "cli/info_command.h"

namespace vistrel::cli {

std::span<const CommandInfo> commands() {
  static const std::vector<CommandInfo> table = {
      {"info", "info FILE...", "print the EXIF, IPTC and description of each file", makeInfoCommand},
  };
  return table;
}

}  // namespace vistrel::cli
