#include "gallery/image_pages.h"

#include "gallery/gallery_names.h"
#include "gallery/html_text.h"
#include "gallery/output_writer.h"
#include "gallery/page_texts.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

std::string link(const std::string& href, const std::string& text) {
  return "<a href=\"" + href + "\">" + text + "</a>";
}

class ImagePageWriter {
 public:
  ImagePageWriter(const RunContext& run, const std::vector<GalleryPhoto>& photos)
      : run_(run), s_(run.settings), texts_(s_), sources_(photos) {}

  PageLines page(std::size_t i) const;

 private:
  std::string pageOf(std::size_t i) const { return pageUrl(imagePageName(s_, sources_[i])); }
  std::string navigation(std::size_t i) const;
  std::string cellOpen() const;

  const RunContext& run_;
  const GallerySettings& s_;
  PageTexts texts_;
  const std::vector<GalleryPhoto>& sources_;
};

std::string ImagePageWriter::navigation(std::size_t i) const {
  const std::size_t last = sources_.size() - 1;
  std::string text;
  if (i >= 1) text += link(pageOf(i - 1), s_.PreviousSinglePage) + s_.Separator;
  text += link(pageUrl(indexPageName(s_, indexPageOf(s_, i))), s_.BackToIndex);
  if (i < last) text += s_.Separator + link(pageOf(i + 1), s_.NextSinglePage);
  if (i == last && i >= 1) text += s_.Separator + link(pageOf(0), s_.FirstPage);
  return texts_.navigationTableOpen("TD") + (s_.UseCSS ? "<p class=\"navigate\">" : "<p>") +
         texts_.fontOpen() + text + texts_.fontClose() + "</p></td></tr></TABLE>";
}

std::string ImagePageWriter::cellOpen() const {
  if (s_.cssOnly()) return "<TD class=\"td\">";
  const std::string background = s_.TableColor.size() == 7 ? "bgcolor=\"" + s_.TableColor + "\"" : "";
  return std::string(s_.UseCSS ? "<TD class=\"td\" align=\"" : "<TD align=\"") + s_.alignText() + "\" " +
         background + ">";
}

PageLines ImagePageWriter::page(std::size_t i) const {
  const std::size_t n = sources_.size();
  const std::string nav = navigation(i);
  PageLines lines = texts_.head(static_cast<int>(i) + 1);
  if (s_.VerLinkPos == 0 || s_.VerLinkPos == 2) lines.push_back(nav);
  lines.push_back(texts_.tableOpen());
  const std::string picture = pageUrl(pictureReference(s_, sources_[i]));
  if (n == 1) {
    lines.push_back(cellOpen() + "<img src=\"" + picture + "\">");
  } else {
    // The picture leads on to the next image, the last one back to the first.
    lines.push_back(cellOpen() + "<a href=\"" + pageOf(i + 1 < n ? i + 1 : 0) + "\"><img src=\"" +
                    picture + "\" border=\"0\"></a>");
  }
  if (!s_.FullPageParamString.empty()) {
    const std::string caption = expandCaption(s_.FullPageParamString, sources_[i].source, CaptionVariant::ImagePage,
                                              texts_.captionStyle(), run_.metadata);
    if (!caption.empty()) {
      lines.push_back(s_.UseCSS ? "<div class=\"description\">" + caption + "</div>"
                                : "<div>" + texts_.fontOpen() + caption + texts_.fontClose() + "</div>");
    }
  }
  lines.push_back("</td></tr></table>");
  if (s_.VerLinkPos == 1 || s_.VerLinkPos == 2) lines.push_back(nav);
  texts_.appendFoot(lines);
  return lines;
}

}  // namespace

bool writeImagePages(const RunContext& run, const std::vector<GalleryPhoto>& photos) {
  run.observer.status("Creating web pages...");
  const ImagePageWriter writer(run, photos);
  for (std::size_t i = 0; i < photos.size(); ++i) {
    if (run.cancelled()) return false;
    const fs::path file = targetFolder(run.settings) / imagePageName(run.settings, photos[i]);
    run.observer.pathShown(file);
    writeOutput(run, file, pageText(writer.page(i)), Existing::Replace);
    run.outputs.wrote(file, photos[i].source);
  }
  return true;
}

}  // namespace vistrel::gallery
