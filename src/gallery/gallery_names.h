#pragma once

#include <filesystem>
#include <string>

#include "gallery/gallery_settings.h"

namespace vistrel::gallery {

namespace fs = std::filesystem;

// Where a run's files go and how the pages name them. References are relative
// paths with "/" in the files' own bytes; pageUrl makes URLs of them.
fs::path targetFolder(const GallerySettings& s);
fs::path thumbnailFolder(const GallerySettings& s);
fs::path imageFolder(const GallerySettings& s);

// index.html, index2.html ... (blanks of the base name become "_").
std::string indexPageName(const GallerySettings& s, int page);
// The page of one image: its source name with the page extension.
std::string imagePageName(const GallerySettings& s, const fs::path& source);
// Index page that shows entry i (from 0).
int indexPageOf(const GallerySettings& s, std::size_t entry);

std::string thumbnailName(const GallerySettings& s, const fs::path& source);
std::string mediumName(const GallerySettings& s, const fs::path& source);
std::string thumbnailReference(const GallerySettings& s, const fs::path& source);
// The medium image or the copied source, as the image pages show it.
std::string pictureReference(const GallerySettings& s, const fs::path& source);
// What a thumbnail cell links to; empty for no link.
std::string linkTarget(const GallerySettings& s, const fs::path& source);

// The source's name with its extension replaced.
std::string withExtension(const fs::path& source, const std::string& extension);

}  // namespace vistrel::gallery
