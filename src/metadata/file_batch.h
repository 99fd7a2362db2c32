#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::metadata {

// A file of a selection that an edit could not change, and why.
struct FileFailure {
  std::filesystem::path file;
  std::string message;
};

// Runs `edit` on every file in turn. A file whose edit throws is recorded with
// the message, and the files after it are still done.
std::vector<FileFailure> ForEachFile(const std::vector<std::filesystem::path>& files,
                                     const std::function<void(const std::filesystem::path&)>& edit);

// One line per failure, the file's name and the message, for a message box.
std::string FailureListText(const std::vector<FileFailure>& failures);

}  // namespace vistrel::metadata
