#pragma once

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

}  // namespace vistrel::test
