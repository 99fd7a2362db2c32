#include "tools/transfer/image_transfer.h"

#include <vector>

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::transfer {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::Icon;

bool isFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

// Creates the destination, asking first unless it is the dated subfolder.
bool prepareDestination(const fs::path& destination, bool subfolder, platform::Prompter& prompter) {
  if (isFolder(destination)) return true;
  if (!subfolder && prompter.ask("Destination folder does not exist.\r\n\r\nCreate folder?", "Create folder",
                                 platform::Buttons::OkCancel, Icon::Question) != Answer::Ok) {
    return false;
  }
  try {
    platform::createFolders(destination);
  } catch (const Error&) {
    // Said below, in the words of the program.
  }
  if (isFolder(destination)) return true;
  prompter.error("Unable to create destination folder.\r\n\r\nOperation aborted.", "Error");
  return false;
}

std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const platform::FolderEntry& entry : platform::listFolder(folder)) {
    if (!entry.isFolder) files.push_back(entry.path);
  }
  return files;
}

// On Linux a folder without the write bit takes no new files: only files are marked.
void markReadOnly(const fs::path& folder, std::vector<platform::FileFailure>& failed) {
  for (const fs::path& file : filesIn(folder)) {
    try {
      platform::setReadOnly(file, true);
    } catch (const Error& error) {
      failed.push_back({file, error.what()});
    }
  }
}

}  // namespace

std::optional<TransferResult> transferImages(const TransferSettings& settings, const platform::DateTime& today,
                                             platform::Prompter& prompter, const platform::FileBatchEvents& events) {
  TransferResult result{finalDestination(settings, today), {}};
  if (!prepareDestination(result.destination, settings.createNewFolder, prompter)) return std::nullopt;
  if (settings.sourcePath.empty() || !isFolder(settings.sourcePath)) {
    prompter.error("Source folder not found.\r\n\r\nOperation aborted.", "Error");
    return std::nullopt;
  }
  const auto action = settings.move ? platform::FileAction::Move : platform::FileAction::Copy;
  const auto collision = settings.replace ? platform::Collision::Ask : platform::Collision::Rename;
  result.files =
      platform::copyOrMoveFiles(filesIn(settings.sourcePath), result.destination, action, collision, prompter, events);
  if (settings.readOnly) markReadOnly(result.destination, result.files.failed);
  return result;
}

}  // namespace vistrel::transfer
