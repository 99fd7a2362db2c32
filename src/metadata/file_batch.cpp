#include "metadata/file_batch.h"

#include <exception>

#include "platform/text.h"

namespace vistrel::metadata {

std::vector<FileFailure> ForEachFile(const std::vector<std::filesystem::path>& files,
                                     const std::function<void(const std::filesystem::path&)>& edit) {
  std::vector<FileFailure> failures;
  for (const std::filesystem::path& file : files) {
    try {
      edit(file);
    } catch (const std::exception& e) {
      failures.push_back({file, platform::textFromFile(e.what())});
    }
  }
  return failures;
}

std::string FailureListText(const std::vector<FileFailure>& failures) {
  std::string text;
  for (const FileFailure& failure : failures) {
    text += "\n" + platform::displayName(failure.file.filename()) + ": " + failure.message;
  }
  return text;
}

}  // namespace vistrel::metadata
