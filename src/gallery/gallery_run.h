#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "gallery/gallery_settings.h"
#include "gallery/image_codec.h"
#include "gallery/metadata_source.h"
#include "gallery/run_observer.h"
#include "gallery/run_options.h"
#include "platform/prompter.h"

namespace vistrel::gallery {

// Where the candidate files come from; it decides the "nothing to do" text.
enum class CandidateSource { TaggedFiles, DragList };

// The "Nothing to do .." text for a run without candidate files.
std::string nothingToDoText(CandidateSource from);

struct RunResult {
  enum class Outcome { Completed, NothingToDo, Refused, Cancelled };
  Outcome outcome = Outcome::Completed;
  std::string message;                        // the refusal shown to the user
  std::vector<std::filesystem::path> files;   // the run file list
  std::vector<FileProblem> leftOut;           // candidates that are no photos
  std::vector<FileProblem> failed;            // photos of the list that could not be made
  std::size_t made = 0;                       // photos whose images are there
  std::vector<std::filesystem::path> skipped; // existing files the user kept
  std::filesystem::path firstIndexPage;       // empty unless the page is there

  // Every photo was made and the pages are there.
  bool succeeded() const { return outcome == Outcome::Completed && failed.empty() && !firstIndexPage.empty(); }
};

// The main window's status text when a run ends.
std::string closingStatus(const RunResult& result);

struct RunServices {
  platform::Prompter& prompter;
  RunObserver& observer;
  MetadataSource& metadata;
  ImageCodec& codec;
  std::filesystem::path programData;  // holds css/ and gifs/
  // Images made at once; more than one needs a codec and metadata source
  // that may be called from several threads.
  unsigned jobs = 1;
};

// One gallery run: take the candidates that are photos, check every output
// path and create the folders, make the images, then the index and image
// pages; photos that give no picture are left out of the pages. Nothing is
// written when a check refuses. The closing steps run on every way out, also
// when an error is thrown: the progress closes, the written files are noted
// in the target folder's output manifest, the finished first page opens when
// the settings ask for it, and the upload dialog follows when asked for.
// The settings are changed only where output names are made safe and empty
// subfolder names get their defaults.
RunResult runGallery(GallerySettings& settings, const RunOptions& options,
                     const std::vector<std::filesystem::path>& candidates, CandidateSource from,
                     const std::atomic<bool>& cancel, const RunServices& services);

}  // namespace vistrel::gallery
