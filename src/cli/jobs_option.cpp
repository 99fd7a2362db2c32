#include "cli/jobs_option.h"

#include <algorithm>
#include <thread>

#include "cli/command.h"
#include "platform/text.h"

namespace vistrel::cli {

unsigned defaultJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

unsigned parseJobs(const std::string& value) {
  const auto jobs = platform::parseInteger(value);
  if (!jobs || *jobs < 1 || *jobs > 256) throw UsageError("--jobs takes a number from 1 to 256");
  return static_cast<unsigned>(*jobs);
}

}  // namespace vistrel::cli
