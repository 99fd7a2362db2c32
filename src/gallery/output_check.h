#pragma once

#include <string>
#include <vector>

#include "gallery/gallery_names.h"

namespace vistrel::gallery {

// Looks at every file the run would write for these photos (images, copies,
// image and index pages) before it writes any: each must lie inside the
// target folder, also after following links, none may replace a photo of the
// run, and no two may share a path. The refusal for the user, or empty.
std::string outputRefusal(const GallerySettings& s, const std::vector<GalleryPhoto>& photos);

}  // namespace vistrel::gallery
