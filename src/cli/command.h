#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
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

// Everything the program knows about a command: how it is called, what its
// help says, and how it is made from its parsed arguments.
struct CommandInfo {
  const char* name;
  const char* synopsis;  // the usage line after "vistrel "
  const char* summary;   // one line for the command list
  std::span<const OptionSpec> options;
  const char* details;     // paragraphs after the options; may be empty
  const char* exitStatus;  // empty: the common rule of 0, 1 and 2
  const char* example;     // one or more command lines, each with a comment line before it
  std::unique_ptr<Command> (*make)(const ParsedArguments& args);
};

// The table of subcommands, in the order --help lists them.
std::span<const CommandInfo> commands();
const CommandInfo* findCommand(std::string_view name);

// Runs a headless invocation. Returns nothing when the arguments ask for the
// graphical program instead (no arguments, or only paths to hand over).
std::optional<int> runHeadless(int argc, char** argv);

std::string usageText();
// The text of "vistrel COMMAND --help".
std::string commandHelp(const CommandInfo& info);
// The command's own exit-status text, or the common rule of 0, 1 and 2.
std::string_view exitStatusText(const CommandInfo& info);

}  // namespace vistrel::cli
