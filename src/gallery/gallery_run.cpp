#include "gallery/gallery_run.h"

#include <algorithm>
#include <set>

#include "gallery/gallery_files.h"
#include "gallery/image_batch.h"
#include "gallery/image_pages.h"
#include "gallery/index_pages.h"
#include "gallery/output_check.h"
#include "gallery/run_file_list.h"
#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/log.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;
using Outcome = RunResult::Outcome;

constexpr const char* kNothingTagged =
    "No files selected for thumbnail creation:\r\n\r\nYou must first tag one or more files,\r\nusing the "
    "checkboxes in the main\r\nfile list. ";
constexpr const char* kNothingInList =
    "No files selected for thumbnail creation:\r\n\r\nYou must first add one or more files\r\nto the Drag "
    "and Drop file list.";

bool folderReady(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    try {
      platform::createFolders(folder);
    } catch (const Error&) {
      // Told to the user below, in the run's own words.
    }
  }
  return fs::is_directory(folder, ec);
}

// Creates the target folder and the subfolders; the refusal text, or empty
// when all of them are there.
std::string prepareFolders(const GallerySettings& s) {
  if (!folderReady(targetFolder(s))) return "Unable to open or create specified\r\ntarget folder. Operation aborted.";
  if (!s.UseSubfolders) return {};
  if (!folderReady(thumbnailFolder(s))) {
    return "Unable to open or create specified\r\nthumbnail folder. Operation aborted.";
  }
  if (!folderReady(imageFolder(s))) return "Unable to open or create specified\r\nimage folder. Operation aborted.";
  return {};
}

// A run killed while it wrote leaves its temporary files; the next run in
// the same folders takes them away.
void removeStaleFiles(const GallerySettings& s) {
  platform::removeStaleTemporaryFiles(targetFolder(s));
  if (!s.UseSubfolders) return;
  platform::removeStaleTemporaryFiles(thumbnailFolder(s));
  platform::removeStaleTemporaryFiles(imageFolder(s));
}

class Run {
 public:
  Run(GallerySettings& settings, const RunOptions& options, const std::atomic<bool>& cancel,
      const RunServices& services)
      : settings_(settings),
        options_(options),
        services_(services),
        guard_(services.prompter, options.cbReplaceExisting),
        outputs_(targetFolder(settings), options.onlyChanged),
        context_{settings, options, guard_, cancel, services.observer, services.metadata, services.programData,
                 outputs_} {}

  void run(const std::vector<fs::path>& candidates, CandidateSource from, RunResult& result);
  // The closing steps; `result` is null after an error.
  void close(RunResult* result);

 private:
  std::vector<GalleryPhoto> takePhotos(const std::vector<fs::path>& candidates, RunResult& result);
  void makeTheImages(std::vector<GalleryPhoto>& photos, RunResult& result);
  bool refuse(RunResult& result, const std::string& refusal);
  bool writePages(const std::vector<GalleryPhoto>& photos);
  std::vector<IndexEntry> indexEntries(const std::vector<GalleryPhoto>& photos) const;
  void prune(const std::vector<fs::path>& listed);
  void noteOutputs();

  GallerySettings& settings_;
  const RunOptions& options_;
  const RunServices& services_;
  OverwriteGuard guard_;
  OutputLedger outputs_;
  RunContext context_;
};

void Run::run(const std::vector<fs::path>& candidates, CandidateSource from, RunResult& result) {
  RunObserver& observer = services_.observer;
  if (candidates.empty()) {
    services_.prompter.inform(nothingToDoText(from), "Nothing to do ..");
    result.outcome = Outcome::NothingToDo;
    return;
  }
  if (settings_.TargetFolder.size() < 2) {
    refuse(result, "No target folder specified. Operation aborted.");
    return;
  }
  std::vector<GalleryPhoto> photos = takePhotos(candidates, result);
  if (refuse(result, outputRefusal(settings_, photos)) || refuse(result, prepareFolders(settings_))) return;
  removeStaleFiles(settings_);

  observer.showProgress(static_cast<int>(photos.size()));
  observer.mainStatus("Processing " + std::to_string(photos.size()) + " file(s)");
  if (!settings_.HTMLOnly) makeTheImages(photos, result);
  if (context_.cancelled() || !writePages(photos)) {
    result.outcome = Outcome::Cancelled;
    return;
  }
  const fs::path first = targetFolder(settings_) / indexPageName(settings_, 1);
  std::error_code ec;
  if (!photos.empty() && fs::exists(first, ec)) result.firstIndexPage = first;
  // A run that made no page says nothing about which photos left the gallery.
  if (options_.onlyChanged && options_.prune != Prune::Never && !result.firstIndexPage.empty()) prune(result.files);
}

// Removes what earlier runs made that the gallery no longer has (the files
// of photos that left it, index pages past its last, names of an earlier
// prefix), after asking when the caller wants that. A photo of the list that
// failed this time keeps its files: it may read again next time.
void Run::prune(const std::vector<fs::path>& listed) {
  std::vector<fs::path> gallery = listed;
  for (const GalleryFile& file : galleryFiles(settings_, galleryPhotos(settings_, listed))) gallery.push_back(file.path);
  for (const fs::path& file : supportingFiles(settings_, services_.programData)) {
    gallery.push_back(targetFolder(settings_) / file.filename());
  }
  const std::vector<fs::path> files = outputs_.filesLeftOver(gallery);
  if (files.empty()) return;
  if (options_.prune == Prune::Ask &&
      services_.prompter.ask("Remove the " + std::to_string(files.size()) +
                                 " files of earlier runs that are no longer part of the gallery?",
                             "Confirm", platform::Buttons::YesNo, platform::Icon::Question) != platform::Answer::Yes) {
    return;
  }
  for (const fs::path& file : files) {
    std::error_code ec;
    if (!fs::remove(file, ec) && ec) log::warning("Cannot remove " + file.string() + ": " + ec.message());
  }
}

// The photos of the run file list with their output names.
std::vector<GalleryPhoto> Run::takePhotos(const std::vector<fs::path>& candidates, RunResult& result) {
  makeOutputNamesSafe(settings_);
  RunFileList list = buildRunFileList(candidates, settings_, services_.codec);
  for (const FileProblem& problem : list.leftOut) services_.observer.fileLeftOut(problem);
  result.files = std::move(list.files);
  result.leftOut = std::move(list.leftOut);
  return galleryPhotos(settings_, result.files);
}

// Makes the images; the photos that gave none leave the list of the pages.
void Run::makeTheImages(std::vector<GalleryPhoto>& photos, RunResult& result) {
  ImagesMade images = makeImages(context_, services_.codec, photos, services_.jobs);
  result.made = images.made;
  result.failed = std::move(images.failed);
  std::erase_if(photos, [&](const GalleryPhoto& photo) {
    return std::any_of(result.failed.begin(), result.failed.end(),
                       [&](const FileProblem& failed) { return failed.file == photo.source; });
  });
}

bool Run::refuse(RunResult& result, const std::string& refusal) {
  if (refusal.empty()) return false;
  services_.prompter.error(refusal, "Error");
  result.outcome = Outcome::Refused;
  result.message = refusal;
  return true;
}

// False when cancelled.
bool Run::writePages(const std::vector<GalleryPhoto>& photos) {
  if (!writeIndexPages(context_, indexEntries(photos))) return false;
  return !settings_.writesImagePages() || writeImagePages(context_, photos);
}

std::vector<IndexEntry> Run::indexEntries(const std::vector<GalleryPhoto>& photos) const {
  std::vector<IndexEntry> entries;
  for (const GalleryPhoto& photo : photos) {
    const ImageSize size = services_.codec.headerSize(thumbnailFolder(settings_) / thumbnailName(settings_, photo));
    entries.push_back({photo, size.width, size.height});
  }
  return entries;
}

// New outputs were written without waiting for the disk: they reach it
// together, before the manifest vouches for them.
void Run::noteOutputs() {
  if (!outputs_.wroteAny()) return;
  try {
    platform::syncFileSystem(targetFolder(settings_));
  } catch (const Error& e) {
    log::warning(e.what());  // the files are noted all the same: they are the run's
  }
  try {
    outputs_.save();
  } catch (const Error& e) {
    log::warning(e.what());
  }
}

void Run::close(RunResult* result) {
  RunObserver& observer = services_.observer;
  observer.closeProgress();
  noteOutputs();
  if (result) result->skipped = guard_.skipped();
  observer.mainStatus(result ? closingStatus(*result) : "Done");
  if (result && settings_.OpenHTML && !result->firstIndexPage.empty()) observer.openDocument(result->firstIndexPage);
  if (settings_.FtpUpload) observer.ftpUpload(settings_.TargetFolder);
}

}  // namespace

std::string nothingToDoText(CandidateSource from) {
  return from == CandidateSource::TaggedFiles ? kNothingTagged : kNothingInList;
}

std::string closingStatus(const RunResult& result) {
  if (result.outcome != Outcome::Cancelled) return "Done";
  return "Cancelled (" + std::to_string(result.made) + " of " + std::to_string(result.files.size()) +
         " photos made)";
}

RunResult runGallery(GallerySettings& settings, const RunOptions& options,
                     const std::vector<fs::path>& candidates, CandidateSource from,
                     const std::atomic<bool>& cancel, const RunServices& services) {
  Run run(settings, options, cancel, services);
  RunResult result;
  try {
    run.run(candidates, from, result);
  } catch (...) {
    run.close(nullptr);
    throw;
  }
  run.close(&result);
  return result;
}

}  // namespace vistrel::gallery
