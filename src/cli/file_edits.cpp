#include "cli/file_edits.h"

#include <iostream>

#include "metadata/file_batch.h"
#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::cli {

int editEachFile(const std::string& command, const std::vector<std::string>& files,
                 const std::function<void(const std::filesystem::path&)>& edit) {
  const std::vector<std::filesystem::path> paths(files.begin(), files.end());
  const auto failures = metadata::ForEachFile(paths, [&](const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) throw Error("no such file");
    edit(file);
  });
  for (const metadata::FileFailure& failure : failures) {
    std::cerr << "vistrel " << command << ": " << platform::displayName(failure.file) << ": " << failure.message
              << "\n";
  }
  return failures.empty() ? 0 : 1;
}

}  // namespace vistrel::cli
