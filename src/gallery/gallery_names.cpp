#include "gallery/gallery_names.h"

#include <algorithm>

namespace vistrel::gallery {
namespace {

std::string inSubfolder(const GallerySettings& s, const std::string& folder, const std::string& name) {
  if (!s.UseSubfolders) return name;
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

}  // namespace

fs::path targetFolder(const GallerySettings& s) { return fs::path(s.TargetFolder); }

fs::path thumbnailFolder(const GallerySettings& s) {
  return s.UseSubfolders ? targetFolder(s) / s.ThumbFolder : targetFolder(s);
}

fs::path imageFolder(const GallerySettings& s) {
  return s.UseSubfolders ? targetFolder(s) / s.ImageFolder : targetFolder(s);
}

std::string indexPageName(const GallerySettings& s, int page) {
  std::string base = s.Filename;
  std::replace(base.begin(), base.end(), ' ', '_');
  return base + (page > 1 ? std::to_string(page) : std::string()) + s.fileExtensionText();
}

std::string imagePageName(const GallerySettings& s, const fs::path& source) {
  return withExtension(source, s.fileExtensionText());
}

int indexPageOf(const GallerySettings& s, std::size_t entry) {
  return static_cast<int>(entry / static_cast<std::size_t>(s.Cols * s.Rows)) + 1;
}

std::string thumbnailName(const GallerySettings& s, const fs::path& source) {
  return s.ThumbPrefix + withExtension(source, ".jpg");
}

std::string mediumName(const GallerySettings& s, const fs::path& source) {
  return s.MediumPrefix + withExtension(source, ".jpg");
}

std::string thumbnailReference(const GallerySettings& s, const fs::path& source) {
  return inSubfolder(s, s.ThumbFolder, thumbnailName(s, source));
}

std::string pictureReference(const GallerySettings& s, const fs::path& source) {
  const std::string name = s.linkMode == LinkMode::MediumFormat ? mediumName(s, source)
                                                                : source.filename().string();
  return inSubfolder(s, s.ImageFolder, name);
}

std::string linkTarget(const GallerySettings& s, const fs::path& source) {
  if (s.writesImagePages()) return imagePageName(s, source);
  switch (s.linkMode) {
    case LinkMode::CopyOriginal: return inSubfolder(s, s.ImageFolder, source.filename().string());
    case LinkMode::InclLink: return source.string();
    case LinkMode::MediumFormat: return inSubfolder(s, s.ImageFolder, mediumName(s, source));
    case LinkMode::DontLink:
    case LinkMode::None: break;
  }
  return {};
}

std::string withExtension(const fs::path& source, const std::string& extension) {
  return fs::path(source.filename()).replace_extension(extension).string();
}

}  // namespace vistrel::gallery
