#pragma once

#include "options/program_options.h"

namespace vistrel::cli {

// The program options as the options window last kept them.
options::ProgramOptions storedProgramOptions();

}  // namespace vistrel::cli
