#pragma once

#include "cli/command.h"

namespace vistrel::cli {

// "vistrel exifdate (--shift D:HH:MM:SS | --set DATE) FILE..." changes the EXIF
// dates of photos; "vistrel filedate --set DATE FILE..." their file times.
const CommandInfo& exifdateCommand();
const CommandInfo& filedateCommand();

}  // namespace vistrel::cli
