#pragma once

#include <cstddef>
#include <vector>

#include "gallery/gallery_names.h"
#include "gallery/image_codec.h"
#include "gallery/run_context.h"

namespace vistrel::gallery {

// What became of the photos of a run.
struct ImagesMade {
  bool cancelled = false;
  std::size_t made = 0;             // photos whose images are there
  std::vector<FileProblem> failed;  // photos that gave no picture, in list order
};

// Makes the thumbnail (and medium image) of every photo on `jobs` workers.
// Everything the user sees stays as in a one-by-one run: progress, questions
// and writes happen on the calling thread in list order, and cancel stops
// before the next image is written. Each photo is decoded once for both of
// its outputs (see SharedDecode), whatever the number of jobs, so one job and
// many write the same bytes. The decodes share one pixel memory budget: a
// worker whose photo does not fit beside the others' waits for them. A photo
// that gives no picture writes nothing and is reported to the observer. A run
// that makes only what changed neither decodes nor writes a photo whose
// images it keeps.
ImagesMade makeImages(const RunContext& run, ImageCodec& codec, const std::vector<GalleryPhoto>& photos,
                      unsigned jobs);

}  // namespace vistrel::gallery
