#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/error.h"

namespace vistrel::cli {

// A mistake on the command line: printed with the usage and exit status 2.
class UsageError : public Error {
 public:
  using Error::Error;
};

// One headless subcommand. run() returns the exit status; errors are thrown and
// mapped to a status once, in runHeadless().
class Command {
 public:
  virtual ~Command() = default;
  virtual int run() = 0;
};

struct CommandInfo {
  const char* name;
  const char* synopsis;  // the usage line after "vistrel "
  const char* summary;
  std::unique_ptr<Command> (*make)(std::vector<std::string> args);
};

// The table of subcommands, in the order --help lists them.
std::span<const CommandInfo> commands();

// Runs a headless invocation. Returns nothing when the arguments ask for the
// graphical program instead (no arguments, or only paths to hand over).
std::optional<int> runHeadless(int argc, char** argv);

std::string usageText();

}  // namespace vistrel::cli
