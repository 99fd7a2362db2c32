#include <vector>

#include "cli/command.h"
#include "cli/info_command.h"
#include "cli/ftp_command.h"

namespace vistrel::cli {

std::span<const CommandInfo> commands() {
  static const std::vector<CommandInfo> table = {
      {"info", "info FILE...", "print the EXIF, IPTC and description of each file", makeInfoCommand},
      {"ftp", "ftp --site NAME [--yes] [FOLDER]",
       "upload the files of FOLDER (default: the last gallery target folder) to a server of ftp.dat; "
       "--yes overwrites an existing remote folder without asking",
       makeFtpCommand},
  };
  return table;
}

}  // namespace vistrel::cli
