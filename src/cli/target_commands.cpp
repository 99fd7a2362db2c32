#include "cli/target_commands.h"

#include "cli/file_report.h"
#include "cli/terminal_prompter.h"
#include "tools/targets/target_operation.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kCopyMoveOptions[] = {
    {"--to", "DIR", "The folder the files go to; it must exist."},
    {"--rename-on-collision", "",
     "Give a file whose name is taken in DIR a free name (photo (2).jpg). Without it the program asks whether to "
     "replace the file there; without a terminal to ask on, it is kept and the file is not copied."},
};

class TargetCommand : public Command {
 public:
  TargetCommand(const ParsedArguments& args, targets::TargetOperation operation)
      : operation_(operation),
        folder_(args.last("--to").value_or("")),
        renameOnCollision_(args.has("--rename-on-collision")),
        files_(args.operands.begin(), args.operands.end()) {
    if (files_.empty()) throw UsageError("no file given");
    const bool copyOrMove = operation != targets::TargetOperation::Delete;
    if (copyOrMove && folder_.empty()) throw UsageError("give the folder with --to");
  }

  int run() override {
    TerminalPrompter prompter;
    if (operation_ == targets::TargetOperation::Delete) {
      return reportBatch(*targets::deleteToTrash(files_, false, prompter, {}));
    }
    std::error_code ec;
    if (!fs::is_directory(folder_, ec)) throw Error(folder_.string() + ": no such folder");
    return reportBatch(targets::copyOrMoveTo(files_, folder_, operation_ == targets::TargetOperation::Move,
                                             renameOnCollision_, prompter, {}));
  }

 private:
  targets::TargetOperation operation_;
  fs::path folder_;
  bool renameOnCollision_;
  std::vector<fs::path> files_;
};

template <targets::TargetOperation operation>
std::unique_ptr<Command> makeTargetCommand(const ParsedArguments& args) {
  return std::make_unique<TargetCommand>(args, operation);
}

}  // namespace

const CommandInfo& copyCommand() {
  static const CommandInfo info{
      "copy",
      "copy --to DIR [--rename-on-collision] FILE...",
      "Copy files into a folder, with their descriptions.",
      kCopyMoveOptions,
      "Prints \"FILE -> COPY\" per file. Each copy appears complete or not at all, with the original's times and "
      "permissions.",
      "0 when every file was copied, 1 when any was not (each named on standard error with the reason), 2 for a "
      "mistake on the command line.",
      "  # copy the picks into the print folder, keeping both where names meet\n"
      "  vistrel copy --to ~/Prints --rename-on-collision IMG_0042.JPG IMG_0057.JPG",
      makeTargetCommand<targets::TargetOperation::Copy>};
  return info;
}

const CommandInfo& moveCommand() {
  static const CommandInfo info{
      "move",
      "move --to DIR [--rename-on-collision] FILE...",
      "Move files into a folder, with their descriptions.",
      kCopyMoveOptions,
      "Prints \"FILE -> NEW PATH\" per file. Across disks each file is copied, read back against the original and "
      "only then deleted, so an interrupted move leaves every file in at least one place.",
      "0 when every file was moved, 1 when any was not (each named on standard error with the reason), 2 for a "
      "mistake on the command line.",
      "  # sort the rejects out of a shoot\n"
      "  vistrel move --to ~/Photos/Lofoten/rejects IMG_0013.JPG IMG_0014.JPG",
      makeTargetCommand<targets::TargetOperation::Move>};
  return info;
}

const CommandInfo& trashCommand() {
  static const CommandInfo info{
      "trash",
      "trash FILE...",
      "Move files to the desktop's Trash, from where they can be restored.",
      {},
      "Prints each file put in the Trash. Folders are not taken. Their descriptions are dropped.",
      "0 when every file went to the Trash, 1 when any did not (each named on standard error with the reason), 2 "
      "for a mistake on the command line.",
      "  # throw away two blurred shots\n"
      "  vistrel trash IMG_0013.JPG IMG_0014.JPG",
      makeTargetCommand<targets::TargetOperation::Delete>};
  return info;
}

}  // namespace vistrel::cli
