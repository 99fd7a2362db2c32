#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/prompter.h"

namespace vistrel::platform {

// Batches of files copied, moved or put in the Trash: what the desktop's own
// file operations do for other programs, with the switches this program uses.
// Every file is tried on its own; a failure is collected with its reason and
// the batch goes on with the next file.

struct FileFailure {
  std::filesystem::path file;
  std::string reason;
};
// The list shown after a batch: one line per file, its name and the reason.
std::string failureListText(const std::vector<FileFailure>& failures);

enum class FileAction { Copy, Move };

// What happens when the folder holds a file of the name already.
enum class Collision {
  Rename,   // the new file takes a free name beside it: "photo (2).jpg"
  Ask,      // the question "replace?" with Yes, No, Yes to all and No to all
  Replace,  // the old file is replaced without a question
};

struct FileBatchEvents {
  // Before each file: its place in the batch (from 0) and the batch's size.
  std::function<void(std::size_t index, std::size_t total, const std::filesystem::path& file)> starting;
  // Asked before each file: true ends the batch there.
  std::function<bool()> cancelled;
};

struct FileBatchResult {
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> done;  // from, to
  std::vector<FileFailure> failed;
  std::vector<std::filesystem::path> kept;  // not replaced, as the user answered
  bool cancelled = false;                   // by the user, before the files not in done, failed or kept
};

// Copies or moves each file (folders are not taken) into `folder`, in order.
// A file is never replaced unless the collision rule or the user's answer
// says so, and a move removes a source only once its copy is complete.
FileBatchResult copyOrMoveFiles(const std::vector<std::filesystem::path>& files, const std::filesystem::path& folder,
                                FileAction action, Collision collision, Prompter& prompter,
                                const FileBatchEvents& events);

// Moves each file (not folders) to the user's Trash, in order.
FileBatchResult trashFiles(const std::vector<std::filesystem::path>& files, const FileBatchEvents& events);

}  // namespace vistrel::platform
