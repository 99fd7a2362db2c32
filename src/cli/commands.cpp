#include <vector>

#include "cli/cache_command.h"
#include "cli/command.h"
#include "cli/info_command.h"
#include "cli/ftp_command.h"
#include "cli/gallery_command.h"

namespace vistrel::cli {

std::span<const CommandInfo> commands() {
  static const std::vector<CommandInfo> table = {
      {"gallery", kGallerySynopsis,
       "make a web gallery of the files: thumbnails, medium images, index and image pages",
       &makeGalleryCommand},
      {"info", "info FILE...", "print the EXIF, IPTC and description of each file", makeInfoCommand},
      {"ftp", "ftp --site NAME [--yes] [FOLDER]",
       "upload the files of FOLDER (default: the last gallery target folder) to a server of ftp.dat; "
       "--yes overwrites an existing remote folder without asking",
       makeFtpCommand},
      {"cache", kCacheSynopsis,
       "make or renew the thumbnail cache entries of the image files of the folders; --clean deletes the entries "
       "whose source files are gone",
       makeCacheCommand},
  };
  return table;
}

}  // namespace vistrel::cli
