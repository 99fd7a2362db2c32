#pragma once

#include <filesystem>
#include <vector>

#include "gallery/gallery_names.h"
#include "gallery/run_context.h"

namespace vistrel::gallery {

// One page per image with its larger picture, a caption and links to the
// neighbours and to its index page. Existing pages are replaced. Returns
// false when cancelled.
bool writeImagePages(const RunContext& run, const std::vector<GalleryPhoto>& photos);

}  // namespace vistrel::gallery
