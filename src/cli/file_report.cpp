#include "cli/file_report.h"

#include <iostream>

#include "platform/text.h"

namespace vistrel::cli {

void printPairs(const std::vector<std::pair<std::filesystem::path, std::filesystem::path>>& pairs) {
  for (const auto& [from, to] : pairs) {
    std::cout << platform::displayName(from);
    if (!to.empty()) std::cout << " -> " << platform::displayName(to);
    std::cout << "\n";
  }
}

void printFailures(const std::vector<platform::FileFailure>& failures) {
  for (const platform::FileFailure& failure : failures) {
    std::cerr << platform::displayName(failure.file) << ": " << platform::textFromFile(failure.reason) << "\n";
  }
}

int reportBatch(const platform::FileBatchResult& result) {
  printPairs(result.done);
  printFailures(result.failed);
  for (const auto& file : result.kept) {
    std::cerr << platform::displayName(file) << ": not replaced; a file of its name is there\n";
  }
  if (result.cancelled) std::cerr << "stopped before the last file\n";
  return result.failed.empty() && result.kept.empty() && !result.cancelled ? 0 : 1;
}

}  // namespace vistrel::cli
