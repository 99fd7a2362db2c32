#include "tools/targets/target_operation.h"

#include <algorithm>
#include <string>

#include "metadata/descriptions.h"
#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::targets {
namespace {

namespace fs = std::filesystem;

// The folders the files came from, once each; a failure to tidy one is the batch's last failure.
void dropDescriptionsOfGone(const std::vector<fs::path>& files, platform::FileBatchResult& result) {
  std::vector<fs::path> folders;
  for (const fs::path& file : files) {
    if (std::find(folders.begin(), folders.end(), file.parent_path()) == folders.end()) {
      folders.push_back(file.parent_path());
    }
  }
  try {
    metadata::PurgeDescriptions(folders);
  } catch (const Error& error) {
    result.failed.push_back({metadata::kDescriptionFileName, error.what()});
  }
}

std::string deleteQuestion(const std::vector<fs::path>& files) {
  if (files.size() == 1) {
    return "Are you sure you want to move \"" + platform::displayName(files.front().filename()) + "\" to the Trash?";
  }
  return "Are you sure you want to move these " + std::to_string(files.size()) + " items to the Trash?";
}

}  // namespace

platform::FileBatchResult copyOrMoveTo(const std::vector<fs::path>& files, const fs::path& folder, bool move,
                                       bool renameOnCollision, platform::Prompter& prompter,
                                       const platform::FileBatchEvents& events) {
  platform::FileBatchResult result = platform::copyOrMoveFiles(
      files, folder, move ? platform::FileAction::Move : platform::FileAction::Copy,
      renameOnCollision ? platform::Collision::Rename : platform::Collision::Ask, prompter, events);
  for (const auto& [from, to] : result.done) {
    try {
      metadata::CarryDescription(from, to);
    } catch (const Error& error) {
      result.failed.push_back(
          {to, std::string(move ? "Moved" : "Copied") + ", but without its description: " + error.what()});
    }
  }
  if (move) dropDescriptionsOfGone(files, result);
  return result;
}

std::optional<platform::FileBatchResult> deleteToTrash(const std::vector<fs::path>& files, bool confirm,
                                                       platform::Prompter& prompter,
                                                       const platform::FileBatchEvents& events) {
  if (files.empty()) return std::nullopt;
  if (confirm && prompter.ask(deleteQuestion(files), "Confirm File Delete", platform::Buttons::YesNo,
                              platform::Icon::Question) != platform::Answer::Yes) {
    return std::nullopt;
  }
  platform::FileBatchResult result = platform::trashFiles(files, events);
  dropDescriptionsOfGone(files, result);
  return result;
}

}  // namespace vistrel::targets
