#pragma once

#include <string>

namespace vistrel::cli {

// "--jobs N" of the batch commands: how many photos are worked on at once.
unsigned defaultJobs();
// Throws UsageError for anything but a number from 1 to 256.
unsigned parseJobs(const std::string& value);

}  // namespace vistrel::cli
