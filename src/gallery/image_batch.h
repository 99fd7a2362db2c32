#pragma once

#include <filesystem>
#include <vector>

#include "gallery/image_codec.h"
#include "gallery/run_context.h"

namespace vistrel::gallery {

// Makes the thumbnail (and medium image) of every file on `jobs` workers.
// Everything the user sees stays as in a one-by-one run: progress, questions
// and writes happen on the calling thread in list order, and cancel stops
// before the next image is written. Each photo is decoded once for both of
// its outputs (see SharedDecode), whatever the number of jobs, so one job and
// many write the same bytes. Returns false when cancelled.
bool makeImages(const RunContext& run, ImageCodec& codec, const std::vector<std::filesystem::path>& files,
                unsigned jobs);

}  // namespace vistrel::gallery
