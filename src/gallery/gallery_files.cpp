#include "gallery/gallery_files.h"

namespace vistrel::gallery {
namespace {

// The image named in a link text such as <img src="next.gif" border=0>. Only
// the name is kept, so that a link text cannot copy files from elsewhere.
std::string navigationImage(const std::string& linkText) {
  const std::size_t end = linkText.find(".gif\"");
  if (end == std::string::npos) return {};
  const std::size_t src = linkText.rfind("src=\"", end);
  if (src == std::string::npos) return {};
  return fs::path(linkText.substr(src + 5, end + 4 - (src + 5))).filename().string();
}

}  // namespace

std::vector<GalleryFile> galleryFiles(const GallerySettings& s, const std::vector<GalleryPhoto>& photos) {
  std::vector<GalleryFile> files;
  for (const GalleryPhoto& photo : photos) {
    files.push_back({thumbnailFolder(s) / thumbnailName(s, photo), {}, true});
    if (s.linkMode == LinkMode::MediumFormat) files.push_back({imageFolder(s) / mediumName(s, photo), {}, true});
    if (s.linkMode == LinkMode::CopyOriginal) files.push_back({imageFolder(s) / photo.copyName, photo.source, false});
    if (s.writesImagePages()) files.push_back({targetFolder(s) / imagePageName(s, photo), {}, false});
  }
  for (int page = 1; page <= indexPageCount(s, photos.size()); ++page) {
    files.push_back({targetFolder(s) / indexPageName(s, page), {}, false});
  }
  return files;
}

std::vector<fs::path> supportingFiles(const GallerySettings& s, const fs::path& programData) {
  std::vector<fs::path> files;
  for (const std::string* text : {&s.NextIndexPage, &s.BackIndexPage, &s.PreviousSinglePage, &s.NextSinglePage,
                                  &s.BackToIndex, &s.FirstPage}) {
    const std::string name = navigationImage(*text);
    if (!name.empty()) files.push_back(programData / "gifs" / name);
  }
  if (!s.UseCSS || s.CSSfname.empty()) return files;
  const std::string sheet = fs::path(s.CSSfname).filename().string();
  files.push_back(programData / "css" / sheet);
  const fs::path background = programData / "css" / ("css_" + fs::path(sheet).replace_extension(".gif").string());
  std::error_code ec;
  if (fs::exists(background, ec)) files.push_back(background);
  return files;
}

}  // namespace vistrel::gallery
