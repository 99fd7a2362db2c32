#pragma once

#include <filesystem>
#include <optional>

#include "platform/dates.h"
#include "platform/file_operation.h"
#include "platform/prompter.h"
#include "tools/transfer/transfer_settings.h"

namespace vistrel::transfer {

struct TransferResult {
  std::filesystem::path destination;  // the final destination
  platform::FileBatchResult files;
};

// Copies or moves the files of the source folder (not its subfolders) into the
// final destination, which is created when missing (after a question unless
// it is the dated subfolder). A taken name gives the new file a free name, or,
// with `replace`, the question whether to replace it. Then, with `readOnly`,
// the destination's files are marked read-only. Returns nothing when the run
// stopped before the first file: the user declined, or the message of the
// reason was shown.
std::optional<TransferResult> transferImages(const TransferSettings& settings, const platform::DateTime& today,
                                             platform::Prompter& prompter, const platform::FileBatchEvents& events);

}  // namespace vistrel::transfer
