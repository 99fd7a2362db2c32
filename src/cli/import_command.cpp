#include "cli/import_command.h"

#include <algorithm>
#include <optional>

#include "browser/cache_location.h"
#include "cli/file_report.h"
#include "cli/stored_options.h"
#include "cli/terminal_prompter.h"
#include "tools/rename/rename_series.h"
#include "tools/rename/series_names.h"
#include "tools/transfer/image_transfer.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kOptions[] = {
    {"--from", "DIR",
     "The folder on the card or camera, such as /media/ann/CARD/DCIM/100CANON. Only its files are "
     "taken, not its subfolders."},
    {"--to", "DIR",
     "The photo folder the files go to. When it is missing (and --dated is not given) the program "
     "asks before it creates it."},
    {"--dated", "FORMAT",
     "Put the files into a subfolder of DIR named by today's date in FORMAT (letters as in 'vistrel rename', for "
     "example dd_mm_yyyy); it is created without a question."},
    {"--move", "",
     "Move the files instead of copying them. A file leaves the card only once its copy is complete "
     "and reads back the same."},
    {"--replace", "",
     "Replace files of the same name in the destination. Without it a new file takes a free name, "
     "as IMG_0001 (2).JPG."},
    {"--read-only", "", "Afterwards mark every file of the destination read-only."},
    {"--rename-pattern", "P",
     "Afterwards rename the transferred files by pattern P, as 'vistrel rename --pattern P' "
     "does."},
};

rename::RenameSettings renameSettingsOf(const std::string& pattern) {
  if (pattern.find_first_of(rename::kRefusedCharacters) != std::string::npos) {
    throw UsageError("a pattern may not hold any of \\ / : * ? \" < > |");
  }
  rename::RenameSettings settings;
  settings.pattern = pattern;
  return settings;
}

class ImportCommand : public Command {
 public:
  explicit ImportCommand(const ParsedArguments& args) {
    settings_.sourcePath = args.last("--from").value_or("");
    settings_.destPath = args.last("--to").value_or("");
    if (settings_.sourcePath.empty() || settings_.destPath.empty()) throw UsageError("give --from and --to");
    if (!args.operands.empty()) throw UsageError("the folders go with --from and --to");
    settings_.createNewFolder = args.has("--dated");
    settings_.dateFormat = args.last("--dated").value_or("");
    settings_.move = args.has("--move");
    settings_.replace = args.has("--replace");
    settings_.readOnly = args.has("--read-only");
    if (const auto pattern = args.last("--rename-pattern")) rename_ = renameSettingsOf(*pattern);
  }

  int run() override {
    // --replace answers the questions "replace?" (and "create the folder?") with yes.
    TerminalPrompter prompter(settings_.replace ? AnswerMode::Yes : AnswerMode::Ask);
    const auto result = transfer::transferImages(settings_, platform::localNow(), prompter, {});
    if (!result) return 1;
    int status = reportBatch(result->files);
    if (rename_) status = std::max(status, renameTransferred(result->files));
    return status;
  }

 private:
  int renameTransferred(const platform::FileBatchResult& files) const {
    std::vector<fs::path> transferred;
    for (const auto& pair : files.done) transferred.push_back(pair.second);
    browser::CacheLocation cache(storedProgramOptions().cacheFolder);
    rename::RenameDisk disk(&cache);
    const rename::RenameResult renamed = rename::renameSeries(transferred, *rename_, disk);
    printPairs(renamed.renamed);
    printFailures(renamed.failed);
    return renamed.failed.empty() ? 0 : 1;
  }

  transfer::TransferSettings settings_;
  std::optional<rename::RenameSettings> rename_;
};

}  // namespace

const CommandInfo& importCommand() {
  static const CommandInfo info{
      "import",
      "import --from DIR --to DIR [--dated FORMAT] [--move] [--replace] [--read-only] [--rename-pattern P]",
      "Copy or move the photos of a memory card or camera folder into a photo folder.",
      kOptions,
      "Prints \"FROM -> TO\" per file transferred (and renamed). No file in the destination is replaced unless "
      "--replace is given. A move across disks copies each file, reads the copy back against the card and only "
      "then deletes it from the card, so an interrupted run leaves every photo in at least one place.",
      "0 when every file was transferred, 1 when any was not (each named on standard error with the reason) or "
      "the folders were not there, 2 for a mistake on the command line.",
      "  # move today's shots from the card into a dated folder: ~/Photos/05_01_2004/\n"
      "  vistrel import --from /media/ann/CARD/DCIM/100CANON --to ~/Photos --dated dd_mm_yyyy --move",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<ImportCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
