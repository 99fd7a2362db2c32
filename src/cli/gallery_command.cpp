#include "cli/gallery_command.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <thread>

#include "browser/drag_list_file.h"
#include "browser/folder_listing.h"
#include "cli/ftp_command.h"
#include "cli/jobs_option.h"
#include "cli/gallery_settings_edit.h"
#include "cli/terminal_progress.h"
#include "cli/terminal_prompter.h"
#include "gallery/file_metadata.h"
#include "gallery/gallery_names.h"
#include "gallery/gallery_run.h"
#include "gallery/gallery_store.h"
#include "gallery/program_options.h"
#include "gallery/imaging_codec.h"
#include "gallery/settings_file.h"
#include "platform/error.h"
#include "platform/heap_tuning.h"
#include "platform/program_data.h"
#include "platform/text.h"

extern char** environ;

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;
using gallery::GallerySettings;

std::atomic<bool> cancelRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) { cancelRequested = true; }

// Ctrl+C cancels the run as the progress window's Cancel button does; the run
// then ends with its closing steps.
class InterruptCancels {
 public:
  InterruptCancels() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptCancels() { sigaction(SIGINT, &previous_, nullptr); }

 private:
  struct sigaction previous_ {};
};

struct GalleryArgs {
  std::vector<std::string> paths;
  std::string list;
  std::vector<std::pair<std::string, std::string>> edits;  // option, value, in the given order
  bool printSettings = false;
  std::string saveSettings;
  std::optional<AnswerMode> overwrite;
  bool open = false;
  std::string ftpSite;  // upload the gallery there afterwards
  bool quiet = false;
  unsigned jobs = defaultJobs();
};

GalleryArgs parse(const std::vector<std::string>& args) {
  GalleryArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--settings" || arg == "--set" || arg == "--target") {
      parsed.edits.emplace_back(arg, value());
    } else if (arg == "--html-only") {
      parsed.edits.emplace_back(arg, "");
    } else if (arg == "--list") {
      parsed.list = value();
    } else if (arg == "--print-settings") {
      parsed.printSettings = true;
    } else if (arg == "--save-settings") {
      parsed.saveSettings = value();
    } else if (arg == "--overwrite") {
      const std::string& mode = value();
      if (mode == "ask") parsed.overwrite = AnswerMode::Ask;
      else if (mode == "all") parsed.overwrite = AnswerMode::Yes;
      else if (mode == "none") parsed.overwrite = AnswerMode::No;
      else throw UsageError("--overwrite takes ask, all or none");
    } else if (arg == "--jobs") {
      parsed.jobs = parseJobs(value());
    } else if (arg == "--open") {
      parsed.open = true;
    } else if (arg == "--ftp") {
      parsed.ftpSite = value();
    } else if (arg == "--quiet" || arg == "-q") {
      parsed.quiet = true;
    } else if (arg == "--") {
      parsed.paths.insert(parsed.paths.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (arg.starts_with("--")) {
      throw UsageError("unknown option " + arg);
    } else {
      parsed.paths.push_back(arg);
    }
  }
  return parsed;
}

// Files in the order given; a folder adds the image files it lists, by name.
std::vector<fs::path> candidateFiles(const GalleryArgs& args) {
  if (!args.list.empty()) {
    std::vector<fs::path> files;
    for (const std::string& line : browser::readDragList(args.list)) files.emplace_back(line);
    return files;
  }
  std::vector<fs::path> files;
  for (const std::string& path : args.paths) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
      for (const auto& file : browser::listFolderFiles(path, {})) files.push_back(fs::absolute(file.path));
    } else {
      files.push_back(fs::absolute(path));
    }
  }
  return files;
}

void openInBrowser(const fs::path& page) {
  const std::string file = page.string();
  char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(file.c_str()), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) == 0) {
    int status = 0;
    waitpid(child, &status, 0);
  } else {
    std::cerr << "vistrel gallery: cannot open " << file << " (xdg-open is missing)\n";
  }
}

class GalleryCommand : public Command {
 public:
  explicit GalleryCommand(std::vector<std::string> args) : args_(parse(args)) {}
  int run() override;

 private:
  GallerySettings settings(const std::vector<std::string>& styleSheets, platform::SettingsStore& store) const;

  GalleryArgs args_;
};

GallerySettings GalleryCommand::settings(const std::vector<std::string>& styleSheets,
                                         platform::SettingsStore& store) const {
  GallerySettings s = GallerySettings::defaults();
  if (!styleSheets.empty()) s.CSSfname = styleSheets.front();
  gallery::readGalleryStore(store, s);
  for (const auto& [option, value] : args_.edits) {
    if (option == "--settings") gallery::loadSettingsFile(value, s, styleSheets);
    else if (option == "--set") setSettingsField(s, value, styleSheets);
    else if (option == "--target") s.TargetFolder = value;
    else if (option == "--html-only") s.HTMLOnly = true;
  }
  return s;
}

int GalleryCommand::run() {
  const fs::path programData = platform::ensureProgramData();
  const auto styleSheets = gallery::installedStyleSheets(programData);
  platform::SettingsStore store;
  GallerySettings s = settings(styleSheets, store);
  if (args_.printSettings) {
    std::cout << gallery::settingsToIni(s).text();
    return 0;
  }
  if (!args_.saveSettings.empty()) {
    gallery::saveSettingsFile(args_.saveSettings, s);
    if (args_.paths.empty() && args_.list.empty()) return 0;
  }
  if (args_.paths.empty() && args_.list.empty()) throw UsageError("no files, folders or --list given");

  // Without a terminal nothing is overwritten unless the command line says so.
  const AnswerMode answers = args_.overwrite.value_or(::isatty(STDIN_FILENO) != 0 ? AnswerMode::Ask : AnswerMode::No);
  const gallery::ProgramOptions options = gallery::readProgramOptions(store);
  TerminalPrompter prompter(answers);
  TerminalProgress progress(args_.quiet, ::isatty(STDERR_FILENO) != 0);
  gallery::FileMetadata metadata;
  gallery::ImagingCodec codec;
  // The command opens the page only when asked, whatever the design says.
  s.OpenHTML = false;

  platform::reuseLargeBuffers();
  const InterruptCancels interrupt;
  cancelRequested = false;
  const auto result = gallery::runGallery(
      s, options, candidateFiles(args_),
      args_.list.empty() ? gallery::CandidateSource::TaggedFiles : gallery::CandidateSource::DragList,
      cancelRequested, {prompter, progress, metadata, codec, programData, args_.jobs});
  for (const fs::path& file : result.skipped) std::cerr << "Skipped (already exists): " << file.string() << "\n";
  using Outcome = gallery::RunResult::Outcome;
  switch (result.outcome) {
    case Outcome::NothingToDo:
    case Outcome::Refused: return 1;
    case Outcome::Cancelled: std::cerr << "Operation aborted\n"; return 1;
    case Outcome::Completed: break;
  }
  std::cout << fs::absolute(result.firstIndexPage).string() << std::endl;
  if (args_.open) openInBrowser(result.firstIndexPage);
  if (args_.ftpSite.empty()) return 0;
  return uploadFromTerminal(args_.ftpSite, gallery::targetFolder(s), prompter);
}

}  // namespace

std::unique_ptr<Command> makeGalleryCommand(std::vector<std::string> args) {
  return std::make_unique<GalleryCommand>(std::move(args));
}

}  // namespace vistrel::cli
