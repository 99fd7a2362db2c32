#include "platform/file_operation.h"

#include <optional>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::platform {
namespace {

namespace fs = std::filesystem;

// Throws Error unless `file` is a file that is there.
void requireFile(const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (!fs::exists(status)) throw Error("The file is not there (any more)");
  if (fs::is_directory(status)) throw Error("A folder: only files are taken");
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

// One batch of copies or moves; it remembers the answers "to all".
class Placement {
 public:
  Placement(FileAction action, Collision collision, Prompter& prompter)
      : action_(action), collision_(collision), prompter_(prompter) {}

  // Where the file went; nothing when the user kept the old file.
  std::optional<fs::path> place(const fs::path& file, const fs::path& target) {
    if (sameFile(file, target) && !(action_ == FileAction::Copy && collision_ == Collision::Rename)) {
      throw Error("The source and the destination are the same file");
    }
    if (collision_ == Collision::Rename) return placeUnderFreeName(file, target);
    // Asked only when the name is taken: a file that appears meanwhile is not replaced unasked.
    const bool replace = collision_ == Collision::Replace;
    if (!replace && transfer(file, target, IfExists::Keep)) return target;
    if (!replace && !mayReplace(target)) return std::nullopt;
    transfer(file, target, IfExists::Replace);
    return target;
  }

  bool stopped() const { return stopped_; }

 private:
  bool transfer(const fs::path& from, const fs::path& to, IfExists ifExists) const {
    return action_ == FileAction::Copy ? copyFile(from, to, ifExists) : moveFile(from, to, ifExists);
  }

  fs::path placeUnderFreeName(const fs::path& file, const fs::path& target) const {
    if (transfer(file, target, IfExists::Keep)) return target;
    for (int number = 2; number < 100000; ++number) {
      const fs::path candidate = numberedName(target, number);
      if (transfer(file, candidate, IfExists::Keep)) return candidate;
    }
    throw Error("No free name for " + displayName(target.filename()));
  }

  bool mayReplace(const fs::path& target) {
    if (answerForAll_) return *answerForAll_;
    const Answer answer =
        prompter_.ask("This folder already contains a file named \"" + displayName(target.filename()) +
                          "\".\r\n\r\nWould you like to replace the existing file?",
                      "Confirm File Replace", Buttons::YesNoToAll, Icon::Question);
    if (answer == Answer::All || answer == Answer::NoToAll) answerForAll_ = answer == Answer::All;
    if (answer == Answer::Cancel) stopped_ = true;
    return answer == Answer::Yes || answer == Answer::All;
  }

  FileAction action_;
  Collision collision_;
  Prompter& prompter_;
  std::optional<bool> answerForAll_;
  bool stopped_ = false;
};

// Runs `step` for each file with the events around it; a step's Error becomes
// that file's failure.
template <typename Step>
FileBatchResult forEachFile(const std::vector<fs::path>& files, const FileBatchEvents& events, Step step) {
  FileBatchResult result;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (events.cancelled && events.cancelled()) {
      result.cancelled = true;
      break;
    }
    if (events.starting) events.starting(i, files.size(), files[i]);
    try {
      requireFile(files[i]);
      if (!step(files[i], result)) break;
    } catch (const Error& error) {
      result.failed.push_back({files[i], error.what()});
    }
  }
  return result;
}

}  // namespace

std::string failureListText(const std::vector<FileFailure>& failures) {
  std::string text;
  for (const FileFailure& failure : failures) {
    text += displayName(failure.file.filename()) + ": " + textFromFile(failure.reason) + "\r\n";
  }
  return text;
}

FileBatchResult copyOrMoveFiles(const std::vector<fs::path>& files, const fs::path& folder, FileAction action,
                                Collision collision, Prompter& prompter, const FileBatchEvents& events) {
  Placement placement(action, collision, prompter);
  return forEachFile(files, events, [&](const fs::path& file, FileBatchResult& result) {
    const auto placed = placement.place(file, folder / file.filename());
    if (placement.stopped()) {
      result.cancelled = true;
      return false;
    }
    if (placed) {
      result.done.emplace_back(file, *placed);
    } else {
      result.kept.push_back(file);
    }
    return true;
  });
}

FileBatchResult trashFiles(const std::vector<fs::path>& files, const FileBatchEvents& events) {
  return forEachFile(files, events, [](const fs::path& file, FileBatchResult& result) {
    moveToTrash(file);
    result.done.emplace_back(file, fs::path());
    return true;
  });
}

}  // namespace vistrel::platform
