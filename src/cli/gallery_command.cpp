#include "cli/gallery_command.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <atomic>
#include <iostream>
#include <thread>

#include "browser/drag_list_file.h"
#include "browser/folder_listing.h"
#include "cli/ftp_command.h"
#include "cli/gallery_settings_edit.h"
#include "cli/jobs_option.h"
#include "cli/terminal_progress.h"
#include "cli/terminal_prompter.h"
#include "gallery/file_metadata.h"
#include "gallery/gallery_names.h"
#include "gallery/gallery_run.h"
#include "gallery/gallery_store.h"
#include "gallery/imaging_codec.h"
#include "gallery/run_options.h"
#include "gallery/settings_fields.h"
#include "gallery/settings_file.h"
#include "platform/base64.h"
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

constexpr OptionSpec kOptions[] = {
    {"--settings", "F.vgc", "Load a design file saved by the gallery window (or by --save-settings) over the "
                            "design last used."},
    {"--set", "[Section.]Key=Value", "Change one setting by its design-file key, for example Cols=5 or "
                                     "General.TitleText=Summer; the section is needed only where a key occurs "
                                     "twice. --list-keys lists them. May be given many times."},
    {"--list-keys", "", "List every key --set accepts, with its type, default and meaning, and exit."},
    {"--target", "DIR", "Write the gallery into DIR (the design's TargetFolder)."},
    {"--html-only", "", "Write only the pages; keep the thumbnails and images that are there."},
    {"--update", "", "Make a thumbnail or medium image only when its photo, the design's image settings or the "
                     "image itself changed (missing, replaced or cut short), and write no file again whose bytes "
                     "stay the same, so that the time stamps of unchanged files stay for the upload. Files an "
                     "earlier run made are replaced without asking. The gallery window's \"Only make what "
                     "changed\" has the same effect."},
    {"--full", "", "Make every thumbnail and medium image again, also when the gallery window's \"Only make "
                   "what changed\" is ticked."},
    {"--prune", "", "With --update: remove what earlier runs made that the gallery no longer has: the thumbnails, "
                    "medium images, copies and pages of photos no longer in it, index pages past its last, files "
                    "named with an earlier prefix. Without it they stay."},
    {"--list", "F.vfl", "Take the photos from a drag-list file instead of FILE and FOLDER arguments."},
    {"--overwrite", "ask|all|none", "What to do with outputs that exist: ask on the terminal, replace them all, "
                                    "or keep them all. Without a terminal the default is none."},
    {"--jobs", "N", "Make N photos at once (1 to 256; default: one per processor core). The gallery is the "
                    "same for every N."},
    {"--open", "", "Open the first index page in the web browser afterwards."},
    {"--ftp", "SITE", "Upload the gallery to SITE of the FTP site list afterwards (see vistrel ftp)."},
    {"--ftp-only-changed", "", "With --ftp, upload only new and changed files (see vistrel ftp --only-changed). "
                               "Example: vistrel gallery --ftp Home --ftp-only-changed ~/Pictures/trip"},
    {"--ftp-remove-deleted", "", "With --ftp, delete on the server the files of earlier uploads that the gallery "
                                 "no longer has (see vistrel ftp --remove-deleted)."},
    {"--quiet", "", "Print no progress, only the questions, errors and the path of the first page.", "-q"},
    {"--print-settings", "", "Print the design that would be used, as a design file, and exit."},
    {"--save-settings", "F.vgc", "Save the design that would be used to F.vgc; without photos, only that. Into "
                                 "the file --settings loaded only the changes are written, so that commands "
                                 "saving one design at once keep each other's changes."},
};

// Files in the order given; a folder adds the image files it lists, by name.
std::vector<fs::path> candidateFiles(const std::optional<std::string>& list, const std::vector<std::string>& paths) {
  if (list) {
    std::vector<fs::path> files;
    for (const std::string& line : browser::readDragList(*list)) files.emplace_back(line);
    return files;
  }
  std::vector<fs::path> files;
  for (const std::string& path : paths) {
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
    std::cerr << "vistrel gallery: cannot open " << platform::displayName(page) << " (xdg-open is missing)\n";
  }
}

// The type of a key as --set takes it.
std::string keyType(const gallery::SettingsField& field) {
  return std::visit(
      Overloaded{
          [&](int GallerySettings::*) {
            if (field.min == INT_MIN) return std::string("number");
            return "number " + std::to_string(field.min) + ".." + std::to_string(field.max);
          },
          [](bool GallerySettings::*) { return std::string("1 or 0"); },
          [&](std::string GallerySettings::*) {
            return std::string(field.coding == gallery::Coding::Memo ? "multi-line text" : "text");
          },
          [](std::uint32_t GallerySettings::*) { return std::string("colour number"); },
          [](gallery::RadioButton) { return std::string("1 or 0"); }},
      field.member);
}

// vistrel gallery --list-keys: every key with its type, default and meaning.
class ListKeysCommand : public Command {
 public:
  int run() override {
    const platform::IniFile defaults = gallery::settingsToIni(GallerySettings::defaults());
    for (const gallery::SettingsField& field : gallery::settingsFields()) {
      std::string value = defaults.readString(field.section, field.key, "");
      if (field.coding == gallery::Coding::Memo) value = platform::base64Decode(value);
      std::cout << field.section << "." << field.key << " (" << keyType(field) << ", default \"" << value
                << "\")\n    " << field.meaning << "\n";
    }
    return 0;
  }
};

// Exit status 0 only when every photo was made and the pages are there.
int report(const gallery::RunResult& result) {
  for (const fs::path& file : result.skipped) {
    std::cerr << "Skipped (already exists): " << platform::displayName(file) << "\n";
  }
  using Outcome = gallery::RunResult::Outcome;
  if (result.outcome == Outcome::Cancelled) std::cerr << "Operation aborted\n";
  if (result.outcome != Outcome::Completed) return 1;
  if (result.firstIndexPage.empty()) {
    std::cerr << "vistrel gallery: no photo could be made, so no page was written.\n";
    return 1;
  }
  std::cout << platform::displayName(fs::absolute(result.firstIndexPage)) << std::endl;
  if (!result.failed.empty()) {
    std::cerr << "vistrel gallery: " << result.failed.size() << " of " << result.files.size()
              << " photos could not be made; the pages leave them out.\n";
  }
  return result.succeeded() ? 0 : 1;
}

class GalleryCommand : public Command {
 public:
  explicit GalleryCommand(const ParsedArguments& args)
      : args_(args), jobs_(args.has("--jobs") ? parseJobs(*args.last("--jobs")) : defaultJobs()) {
    if (const auto mode = args.last("--overwrite")) overwrite_ = answerMode(*mode);
    if (args.has("--prune") && !args.has("--update")) throw UsageError("--prune works only with --update");
    if (args.has("--full") && args.has("--update")) throw UsageError("--full and --update exclude each other");
  }
  int run() override;

 private:
  static AnswerMode answerMode(const std::string& mode) {
    if (mode == "ask") return AnswerMode::Ask;
    if (mode == "all") return AnswerMode::Yes;
    if (mode == "none") return AnswerMode::No;
    throw UsageError("--overwrite takes ask, all or none");
  }
  GallerySettings settings(const std::vector<std::string>& styleSheets, platform::SettingsStore& store,
                           std::optional<gallery::LoadedDesign>& loaded) const;
  bool hasPhotos() const { return !args_.operands.empty() || args_.has("--list"); }


  ParsedArguments args_;
  unsigned jobs_;
  std::optional<AnswerMode> overwrite_;
};

// The design of the run; `loaded` is the last design file as it was loaded.
GallerySettings GalleryCommand::settings(const std::vector<std::string>& styleSheets, platform::SettingsStore& store,
                                         std::optional<gallery::LoadedDesign>& loaded) const {
  GallerySettings s = GallerySettings::defaults();
  if (!styleSheets.empty()) s.CSSfname = styleSheets.front();
  gallery::readGalleryStore(store, s);
  for (const auto& [option, value] : args_.options) {
    if (option == "--settings") {
      gallery::loadSettingsFile(value, s, styleSheets);
      loaded = gallery::LoadedDesign{value, gallery::settingsToIni(s)};
    } else if (option == "--set") {
      setSettingsField(s, value, styleSheets);
    } else if (option == "--target") {
      s.TargetFolder = value;
    } else if (option == "--html-only") {
      s.HTMLOnly = true;
    }
  }
  return s;
}

int GalleryCommand::run() {
  const fs::path programData = platform::ensureProgramData();
  const auto styleSheets = gallery::installedStyleSheets(programData);
  platform::SettingsStore store;
  std::optional<gallery::LoadedDesign> loaded;
  GallerySettings s = settings(styleSheets, store, loaded);
  if (args_.has("--print-settings")) {
    std::cout << gallery::settingsToIni(s).text();
    return 0;
  }
  if (const auto file = args_.last("--save-settings")) {
    gallery::saveSettingsFile(*file, s, loaded ? &*loaded : nullptr);
    if (!hasPhotos()) return 0;
  }
  if (!hasPhotos()) throw UsageError("no files, folders or --list given");

  // Without a terminal nothing is overwritten unless the command line says so.
  const AnswerMode answers = overwrite_.value_or(::isatty(STDIN_FILENO) != 0 ? AnswerMode::Ask : AnswerMode::No);
  gallery::RunOptions options = gallery::readRunOptions(store, programData);
  options.onlyChanged = (options.onlyChanged && !args_.has("--full")) || args_.has("--update");
  if (args_.has("--prune")) options.prune = gallery::Prune::Always;
  TerminalPrompter prompter(answers);
  TerminalProgress progress(args_.has("--quiet"), ::isatty(STDERR_FILENO) != 0);
  gallery::FileMetadata metadata;
  gallery::ImagingCodec codec;
  // The command opens the page only when asked, whatever the design says.
  s.OpenHTML = false;

  platform::reuseLargeBuffers();
  const InterruptCancels interrupt;
  cancelRequested = false;
  const auto result = gallery::runGallery(
      s, options, candidateFiles(args_.last("--list"), args_.operands),
      args_.has("--list") ? gallery::CandidateSource::DragList : gallery::CandidateSource::TaggedFiles,
      cancelRequested, {prompter, progress, metadata, codec, programData, jobs_});
  const int status = report(result);
  if (result.firstIndexPage.empty()) return status;
  if (args_.has("--open")) openInBrowser(result.firstIndexPage);
  const auto site = args_.last("--ftp");
  if (!site) return status;
  const auto on = [this](const char* option) { return args_.has(option) ? std::optional(true) : std::nullopt; };
  return std::max(status, uploadFromTerminal(*site, gallery::targetFolder(s), prompter,
                                             {on("--ftp-only-changed"), on("--ftp-remove-deleted")}));
}

}  // namespace

const CommandInfo& galleryCommand() {
  static const CommandInfo info{
      "gallery",
      "gallery [--settings F.vgc] [--set [Section.]Key=Value] [--target DIR] [--html-only]\n"
      "                [--update [--prune] | --full] [--list F.vfl] [--overwrite ask|all|none] [--jobs N] [--open]\n"
      "                [--ftp SITE [--ftp-only-changed] [--ftp-remove-deleted]] [--quiet]\n"
      "                [--print-settings] [--save-settings F.vgc] [--list-keys] [FILE|FOLDER ...]",
      "Make a web gallery of the photos: thumbnails, medium images, index pages and one page per photo, as "
      "\"Create thumbnails\" in the browser does.",
      kOptions,
      "A FOLDER adds the image files it holds, sorted by name; FILEs are taken in the order given. Only regular "
      "files that hold a picture are taken: others (missing paths, pipes, text files) are named on standard "
      "error and left out, and so, silently, are the files an earlier gallery made (its thumbnails, medium "
      "images and copies). A photo that cannot be decoded is named with the reason and left out of the pages. "
      "The design is the one last used in the gallery window, changed by --settings and --set in the order "
      "given; names from it that form output paths are cut to one file name, and the run refuses before it "
      "writes anything when an output would lie outside the target folder or replace one of the photos. The "
      "path of the first index page is printed on standard output when the run wrote it.\n\n"
      "Memory: the photos decoded at once share a budget of pixel memory as large as the limit for one "
      "picture (1 GiB); a job whose photo does not fit beside the others' waits for them, so --jobs does not "
      "multiply the memory a run may take.",
      "0 when every photo was made and the pages were written, 1 when a photo could not be made, nothing could "
      "be made, or the run was refused or cancelled, 2 for a mistake on the command line.",
      "  # a gallery of a trip, five thumbnails a row, two photos at a time\n"
      "  vistrel gallery ~/Photos/Lofoten --target ~/web/lofoten --set Cols=5 --jobs 2\n"
      "  # later, after adding and deleting a few photos: make only the new ones, drop the deleted ones' files\n"
      "  vistrel gallery ~/Photos/Lofoten --target ~/web/lofoten --set Cols=5 --update --prune",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> {
        if (args.has("--list-keys")) return std::make_unique<ListKeysCommand>();
        return std::make_unique<GalleryCommand>(args);
      }};
  return info;
}

}  // namespace vistrel::cli
