#pragma once

#include <string>
#include <vector>

namespace vistrel::platform {

// A program and its arguments, run without a shell.
struct CommandLine {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const CommandLine&) const = default;
};

struct CommandResult {
  int exitCode = -1;  // -1: the program could not be started or did not end in time
  std::string output;  // what it wrote to standard output
};

// Where the engine runs other programs (desktop settings tools and the like).
// Tests put a recorder in its place.
class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  virtual CommandResult run(const CommandLine& command) = 0;
};

// Runs the programs for real, waiting at most ten seconds for each.
CommandRunner& systemCommands();

}  // namespace vistrel::platform
