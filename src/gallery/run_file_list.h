#pragma once

#include <filesystem>
#include <vector>

#include "gallery/gallery_settings.h"
#include "gallery/image_codec.h"
#include "gallery/run_observer.h"

namespace vistrel::gallery {

// Which candidates become the photos of a run.
struct RunFileList {
  std::vector<std::filesystem::path> files;  // in candidate order
  std::vector<FileProblem> leftOut;          // candidates that are no photos, and why
};

// Takes the candidates that are regular files (after links; a pipe would
// block the header read for ever) and pictures the codec can open (".psd" by
// its name). Files a gallery made are no photos and are passed over
// silently: those an output manifest beside them or one folder up lists, and
// those with the run's own prefix in the run's own output folders.
RunFileList buildRunFileList(const std::vector<std::filesystem::path>& candidates, const GallerySettings& s,
                             ImageCodec& codec);

}  // namespace vistrel::gallery
