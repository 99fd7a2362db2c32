#include "gallery/page_texts.h"

#include "gallery/html_text.h"

namespace vistrel::gallery {

PageTexts::PageTexts(const GallerySettings& settings)
    : s_(settings),
      fontOpen_(fontTag(settings.TextFontName, settings.textFontSizeText())),
      fontClose_(settings.cssOnly() ? "" : "</FONT>") {}

std::string PageTexts::fontTag(const std::string& face, const std::string& size) const {
  if (s_.cssOnly()) return {};
  return "<FONT FACE=\"" + face + "\" Size=\"" + size + "\" Color=\"" + s_.HtmlTextColor + "\">";
}

PageLines PageTexts::head(int pageNumber) const {
  // The charset comes first, ahead of the title and of a user's head text
  // (which may declare another): the first declaration is the one that counts.
  PageLines lines{"<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">"};
  if (s_.UseCSS) lines.push_back("<link rel=\"stylesheet\" href=\"" + pageUrl(s_.CSSfname) + "\" TYPE=\"text/css\">");
  lines.push_back("<TITLE>" + s_.TitleText +
                  (s_.InclPageNo ? " " + std::to_string(pageNumber) : std::string()) + "</TITLE>");
  if (s_.HeadText.size() > 3) lines.push_back(s_.HeadText);
  lines.push_back("<META NAME=\"Generator\" CONTENT=\"Vistrel\"></HEAD>");
  std::string heading;
  if (!s_.HeadlineText.empty()) {
    heading = fontTag(s_.HeaderFontName, s_.headerFontSizeText()) +
              (s_.UseCSS ? "<p class=\"pageheading\">" : "<p>") + s_.HeadlineText + "</p>" + fontClose_;
  }
  lines.push_back("<BODY BGCOLOR=\"" + s_.BodyColor + "\" LINK=\"" + s_.LinkColor + "\" VLINK=\"" +
                  s_.VLinkColor + "\"> " + (s_.AlignCenter ? "<div align=\"center\">" : "<div>") + " " +
                  heading);
  if (!s_.HeaderText.empty()) lines.push_back("<p>" + s_.HeaderText + "</p>");
  return lines;
}

void PageTexts::appendFoot(PageLines& lines) const {
  // The footer takes the header's font family at the text's size.
  lines.push_back(fontTag(s_.HeaderFontName, s_.textFontSizeText()) +
                  (s_.UseCSS ? "<p class=\"footer\">" : "<p>") + s_.FooterText + fontClose_ + "</p>");
  if (!s_.BottomText.empty()) lines.push_back(s_.BottomText);
  lines.push_back("</BODY></HTML>");
}

std::string PageTexts::tableOpen() const {
  return "<TABLE border=" + std::to_string(s_.Border) + " width=" + std::to_string(s_.TableWidth) +
         " cellpadding=" + std::to_string(s_.Cellpadding) + " cellspacing=" +
         std::to_string(s_.Cellspacing) + "><TR>";
}

std::string PageTexts::navigationTableOpen(const char* cellTag) const {
  return "<TABLE border=0 width=" + std::to_string(s_.TableWidth) + " cellpadding=" +
         std::to_string(s_.Cellpadding) + " cellspacing=" + std::to_string(s_.Cellspacing) + "><TR><" +
         cellTag + " align=\"" + s_.horLinkPosText() + "\">";
}

std::string pageText(const PageLines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace vistrel::gallery
