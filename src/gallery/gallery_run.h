#pragma once

#include <atomic>
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
  std::vector<std::filesystem::path> skipped; // existing files the user kept
  std::filesystem::path firstIndexPage;
};

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

// One gallery run: check and create the folders, take the files the imaging
// library can open, make the images, then the index and image pages. The
// closing steps run on every way out, also when an error is thrown.
// The settings are changed only where empty subfolder names get their defaults.
RunResult runGallery(GallerySettings& settings, const RunOptions& options,
                     const std::vector<std::filesystem::path>& candidates, CandidateSource from,
                     const std::atomic<bool>& cancel, const RunServices& services);

}  // namespace vistrel::gallery
