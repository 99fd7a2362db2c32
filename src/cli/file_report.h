#pragma once

#include <filesystem>
#include <utility>
#include <vector>

#include "platform/file_operation.h"

namespace vistrel::cli {

// "OLD -> NEW", a line per pair, on standard output; OLD alone where there
// is no NEW (a file put in the Trash).
void printPairs(const std::vector<std::pair<std::filesystem::path, std::filesystem::path>>& pairs);
// "FILE: REASON", a line per failure, on standard error.
void printFailures(const std::vector<platform::FileFailure>& failures);
// A copy, move or trash batch: what was done, then what was not and why.
// Returns the exit status: 0 when every file was handled, else 1.
int reportBatch(const platform::FileBatchResult& result);

}  // namespace vistrel::cli
