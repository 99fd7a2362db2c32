#include "gallery/gallery_run.h"

#include "gallery/gallery_names.h"
#include "gallery/image_batch.h"
#include "gallery/image_pages.h"
#include "gallery/index_pages.h"
#include "gallery/source_types.h"
#include "platform/error.h"
#include "platform/files.h"

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

// A subfolder is one folder inside the target: a design file that names
// "../elsewhere" must not make the run write outside the folder the user chose.
std::string oneFolderName(std::string name, const char* fallback) {
  while (name.ends_with('/')) name.pop_back();
  const std::string last = fs::path(name).filename().string();
  return last.empty() || last == "." || last == ".." ? fallback : last;
}

// Step 4 and 5: the refusal text, or empty when all folders are there.
std::string prepareFolders(GallerySettings& s) {
  if (s.TargetFolder.size() < 2) return "No target folder specified. Operation aborted.";
  if (!folderReady(targetFolder(s))) return "Unable to open or create specified\r\ntarget folder. Operation aborted.";
  if (!s.UseSubfolders) return {};
  s.ThumbFolder = oneFolderName(s.ThumbFolder, "thumbnails");
  s.ImageFolder = oneFolderName(s.ImageFolder, "images");
  if (!folderReady(thumbnailFolder(s))) {
    return "Unable to open or create specified\r\nthumbnail folder. Operation aborted.";
  }
  if (!folderReady(imageFolder(s))) return "Unable to open or create specified\r\nimage folder. Operation aborted.";
  return {};
}

std::vector<fs::path> runFileList(const std::vector<fs::path>& candidates, ImageCodec& codec) {
  std::vector<fs::path> files;
  for (const fs::path& file : candidates) {
    if (file.empty()) continue;
    if (isPhotoshopSource(file) || codec.canOpen(file)) files.push_back(file);
  }
  return files;
}

class Run {
 public:
  Run(GallerySettings& settings, const RunOptions& options, const std::atomic<bool>& cancel,
      const RunServices& services)
      : settings_(settings),
        services_(services),
        guard_(services.prompter, options.cbReplaceExisting),
        context_{settings, options, guard_, cancel, services.observer, services.metadata, services.programData} {}

  RunResult run(const std::vector<fs::path>& candidates, CandidateSource from);
  const std::vector<fs::path>& skipped() const { return guard_.skipped(); }

 private:
  bool processImages(RunResult& result);
  std::vector<IndexEntry> indexEntries(const std::vector<fs::path>& files) const;

  GallerySettings& settings_;
  const RunServices& services_;
  OverwriteGuard guard_;
  RunContext context_;
};

RunResult Run::run(const std::vector<fs::path>& candidates, CandidateSource from) {
  RunResult result;
  RunObserver& observer = services_.observer;
  if (candidates.empty()) {
    services_.prompter.inform(nothingToDoText(from), "Nothing to do ..");
    result.outcome = Outcome::NothingToDo;
    return result;
  }
  if (std::string refusal = prepareFolders(settings_); !refusal.empty()) {
    services_.prompter.error(refusal, "Error");
    result.outcome = Outcome::Refused;
    result.message = refusal;
    return result;
  }
  result.files = runFileList(candidates, services_.codec);
  result.firstIndexPage = targetFolder(settings_) / indexPageName(settings_, 1);
  observer.showProgress(static_cast<int>(result.files.size()));
  observer.mainStatus("Processing " + std::to_string(result.files.size()) + " file(s)");
  if (!settings_.HTMLOnly && !processImages(result)) {
    result.outcome = Outcome::Cancelled;
    return result;
  }
  if (!context_.cancelled()) writeIndexPages(context_, indexEntries(result.files));
  if (!context_.cancelled() && settings_.writesImagePages()) writeImagePages(context_, result.files);
  if (context_.cancelled()) result.outcome = Outcome::Cancelled;
  return result;
}

bool Run::processImages(RunResult& result) {
  return makeImages(context_, services_.codec, result.files, services_.jobs);
}

std::vector<IndexEntry> Run::indexEntries(const std::vector<fs::path>& files) const {
  std::vector<IndexEntry> entries;
  for (const fs::path& source : files) {
    const ImageSize size = services_.codec.headerSize(thumbnailFolder(settings_) / thumbnailName(settings_, source));
    entries.push_back({source, size.width, size.height});
  }
  return entries;
}

}  // namespace

std::string nothingToDoText(CandidateSource from) {
  return from == CandidateSource::TaggedFiles ? kNothingTagged : kNothingInList;
}

RunResult runGallery(GallerySettings& settings, const RunOptions& options,
                     const std::vector<fs::path>& candidates, CandidateSource from,
                     const std::atomic<bool>& cancel, const RunServices& services) {
  // The closing steps: on every way out, errors included.
  struct Closing {
    const RunServices& services;
    const GallerySettings& settings;
    ~Closing() {
      services.observer.closeProgress();
      services.observer.mainStatus("Done");
      if (settings.FtpUpload) services.observer.ftpUpload(settings.TargetFolder);
    }
  } closing{services, settings};
  Run run(settings, options, cancel, services);
  RunResult result = run.run(candidates, from);
  result.skipped = run.skipped();
  return result;
}

}  // namespace vistrel::gallery
