#pragma once

#include <filesystem>
#include <vector>

#include "gallery/gallery_names.h"

namespace vistrel::gallery {

// A file of the gallery as its settings name it.
struct GalleryFile {
  fs::path path;
  fs::path own;         // the photo a copy is made of, which the copy may be
  bool image = false;   // a thumbnail or medium image, which a run of pages only does not make
};

// Every file the gallery of these photos is made of: per photo its images,
// copy and page, then the index pages.
std::vector<GalleryFile> galleryFiles(const GallerySettings& s, const std::vector<GalleryPhoto>& photos);

// The navigation images and the style sheet the pages use, as found in the
// program's data folder; each is copied to the target under its own name.
std::vector<fs::path> supportingFiles(const GallerySettings& s, const fs::path& programData);

}  // namespace vistrel::gallery
