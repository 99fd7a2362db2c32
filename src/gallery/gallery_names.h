#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gallery/gallery_settings.h"

namespace vistrel::gallery {

namespace fs = std::filesystem;

// One photo of a run and the names its outputs are made from. In one run no
// two photos share a name; see galleryPhotos.
struct GalleryPhoto {
  // A photo with the names of its own file, as a run without a collision gives them.
  // Implicit, as a plain source path is such a photo.
  GalleryPhoto(fs::path file);
  GalleryPhoto(fs::path file, std::string fileStem, std::string fileCopyName)
      : source(std::move(file)), stem(std::move(fileStem)), copyName(std::move(fileCopyName)) {}

  fs::path source;
  std::string stem;      // of its thumbnail, medium image and image page
  std::string copyName;  // of its copy in link mode CopyOriginal
  bool operator==(const GalleryPhoto&) const = default;
};

// The photos of a run file list with distinct output names: the first photo
// of a name keeps it, a later one (a.JPG and a.png after a.jpg) gets "_2",
// "_3" … after its stem, the first suffix that no photo has as its own name;
// an image page never takes the name of an index page. Names come from the
// file names cut to one safe component.
std::vector<GalleryPhoto> galleryPhotos(const GallerySettings& s, const std::vector<fs::path>& sources);

// Where a run's files go and how the pages name them. References are relative
// paths with "/" in the files' own bytes; pageUrl makes URLs of them.
fs::path targetFolder(const GallerySettings& s);
fs::path thumbnailFolder(const GallerySettings& s);
fs::path imageFolder(const GallerySettings& s);

// The names the settings give to output files, each cut to one safe name
// component (a design file may say "../../x"); an empty prefix stays empty.
void makeOutputNamesSafe(GallerySettings& s);

// index.html, index2.html ... (blanks of the base name become "_").
std::string indexPageName(const GallerySettings& s, int page);
int indexPageCount(const GallerySettings& s, std::size_t entries);
// The page of one image: its stem with the page extension.
std::string imagePageName(const GallerySettings& s, const GalleryPhoto& photo);
// Index page that shows entry i (from 0).
int indexPageOf(const GallerySettings& s, std::size_t entry);

std::string thumbnailName(const GallerySettings& s, const GalleryPhoto& photo);
std::string mediumName(const GallerySettings& s, const GalleryPhoto& photo);
std::string thumbnailReference(const GallerySettings& s, const GalleryPhoto& photo);
// The medium image or the copied source, as the image pages show it.
std::string pictureReference(const GallerySettings& s, const GalleryPhoto& photo);
// What a thumbnail cell links to; empty for no link.
std::string linkTarget(const GallerySettings& s, const GalleryPhoto& photo);

}  // namespace vistrel::gallery
