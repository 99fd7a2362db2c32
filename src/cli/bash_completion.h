#pragma once

#include <string>

namespace vistrel::cli {

// A bash completion script for the commands, their options and the values
// those take (files by their extension, folders, listed words, the keys of
// gallery --set and the sites of the FTP list), made from the command table so
// that a command added later completes with no further work. The build writes
// it with the hidden option "vistrel --bash-completion".
std::string bashCompletion();

}  // namespace vistrel::cli
