#include "cli/jobs_option.h"

#include <algorithm>
#include <thread>

#include "cli/arguments.h"

namespace vistrel::cli {

unsigned defaultJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

unsigned parseJobs(const std::string& value) {
  return static_cast<unsigned>(parseNumberOption("--jobs", value, 1, 256));
}

}  // namespace vistrel::cli
