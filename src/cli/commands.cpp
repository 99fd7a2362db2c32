#include <vector>

#include "cli/cache_command.h"
#include "cli/command.h"
#include "cli/crypto_commands.h"
#include "cli/date_commands.h"
#include "cli/describe_command.h"
#include "cli/find_command.h"
#include "cli/ftp_command.h"
#include "cli/gallery_command.h"
#include "cli/import_command.h"
#include "cli/info_command.h"
#include "cli/iptc_command.h"
#include "cli/mail_command.h"
#include "cli/rename_command.h"
#include "cli/replace_command.h"
#include "cli/resize_command.h"
#include "cli/rotate_command.h"
#include "cli/target_commands.h"
#include "cli/zip_command.h"

namespace vistrel::cli {

std::span<const CommandInfo> commands() {
  static const std::vector<CommandInfo> table = {
      galleryCommand(),  infoCommand(),    iptcCommand(),    exifdateCommand(), filedateCommand(),
      describeCommand(), rotateCommand(),  resizeCommand(),  ftpCommand(),      cacheCommand(),
      encryptCommand(),  decryptCommand(), findCommand(),    replaceCommand(),  renameCommand(),
      importCommand(),   copyCommand(),    moveCommand(),    trashCommand(),    zipCommand(),
      mailCommand(),
  };
  return table;
}

}  // namespace vistrel::cli
