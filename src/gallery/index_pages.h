#pragma once

#include <filesystem>
#include <vector>

#include "gallery/gallery_names.h"
#include "gallery/run_context.h"

namespace vistrel::gallery {

// One cell of the index: the photo and the size of its thumbnail file as it
// lies in the target folder (0 × 0 when it cannot be read).
struct IndexEntry {
  GalleryPhoto photo;
  int thumbWidth = 0;
  int thumbHeight = 0;
};

// Copies the supporting files and writes the index pages, asking before it
// replaces one. Returns false when cancelled.
bool writeIndexPages(const RunContext& run, const std::vector<IndexEntry>& entries);

// The navigation line of index page p of P (empty when there is one page).
std::string indexNavigation(const GallerySettings& s, int page, int pageCount, const std::string& fontOpen,
                            const std::string& fontClose);

}  // namespace vistrel::gallery
