#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/file_operation.h"
#include "platform/prompter.h"

namespace vistrel::targets {

// The file list's operations on its selected files. DeleteSilent asks nothing
// and shows no progress (Ctrl+Del in the full-screen viewer).
enum class TargetOperation { Copy, Move, Delete, DeleteSilent };

// Copies or moves the files into the folder: a taken name gives a free name
// with `renameOnCollision`, else the question whether to replace. Each file's
// description goes with it; after a move the lines of the files that left are
// dropped from their folders' descriptions.
platform::FileBatchResult copyOrMoveTo(const std::vector<std::filesystem::path>& files,
                                       const std::filesystem::path& folder, bool move, bool renameOnCollision,
                                       platform::Prompter& prompter, const platform::FileBatchEvents& events);

// Moves the files to the Trash, after a question when `confirm`; nothing when
// the user said no. Their description lines are dropped.
std::optional<platform::FileBatchResult> deleteToTrash(const std::vector<std::filesystem::path>& files, bool confirm,
                                                       platform::Prompter& prompter,
                                                       const platform::FileBatchEvents& events);

}  // namespace vistrel::targets
