#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

std::span<const CommandInfo> commands() {
  static const std::vector<CommandInfo> table = {};
  return table;
}

}  // namespace vistrel::cli
