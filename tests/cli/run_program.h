#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vistrel::test {

struct ProgramResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs build/vistrel with the arguments (no shell), without a display and with
// standard input closed, and collects what it prints.
ProgramResult runVistrel(const std::vector<std::string>& args);
// The same without waiting for it, its output dropped: the child's process id.
pid_t startVistrel(const std::vector<std::string>& args);

}  // namespace vistrel::test
