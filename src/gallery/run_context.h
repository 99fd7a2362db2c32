#pragma once

#include <atomic>
#include <filesystem>
#include <vector>

#include "gallery/gallery_settings.h"
#include "gallery/metadata_source.h"
#include "gallery/output_ledger.h"
#include "gallery/overwrite_guard.h"
#include "gallery/run_observer.h"
#include "gallery/run_options.h"

namespace vistrel::gallery {

// What every stage of one run reads: the settings, the two program options,
// the shared overwrite answers and cancel flag, and the front end; and where
// the stages note each file they write or keep (on the run's own thread).
struct RunContext {
  const GallerySettings& settings;
  const RunOptions& options;
  OverwriteGuard& overwrite;
  const std::atomic<bool>& cancel;
  RunObserver& observer;
  MetadataSource& metadata;
  std::filesystem::path programData;  // holds css/ and gifs/
  OutputLedger& outputs;

  bool cancelled() const { return cancel.load(); }
};

}  // namespace vistrel::gallery
