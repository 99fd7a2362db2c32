#pragma once

#include "options/program_options.h"

namespace vistrel::cli {

// The program options as the options window last stored them (the defaults
// where nothing is stored): the commands follow them as the windows do.
options::ProgramOptions storedProgramOptions();

}  // namespace vistrel::cli
