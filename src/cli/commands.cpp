#include <vector>

#include "cli/command.h"
#include "cli/ftp_command.h"

namespace vistrel::cli {

std::span<const CommandInfo> commands() {
  static const std::vector<CommandInfo> table = {
      {"ftp", "ftp --site NAME [--yes] [FOLDER]",
       "upload the files of FOLDER (default: the last gallery target folder) to a server of ftp.dat; "
       "--yes overwrites an existing remote folder without asking",
       makeFtpCommand},
  };
  return table;
}

}  // namespace vistrel::cli
