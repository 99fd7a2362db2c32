#include "gallery/index_pages.h"

#include "gallery/gallery_files.h"
#include "gallery/html_text.h"
#include "gallery/output_writer.h"
#include "gallery/page_texts.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

void copySupportingFiles(const RunContext& run) {
  for (const fs::path& file : supportingFiles(run.settings, run.programData)) {
    copyOutput(run, file, targetFolder(run.settings) / file.filename(), platform::IfExists::Replace);
  }
}

std::string link(const std::string& href, const std::string& text) {
  return "<a href=\"" + href + "\">" + text + "</a>";
}

class IndexWriter {
 public:
  IndexWriter(const RunContext& run, const std::vector<IndexEntry>& entries)
      : run_(run), s_(run.settings), texts_(s_), entries_(entries), pageCount_(indexPageCount(s_, entries.size())) {}

  bool write();  // false when cancelled

 private:
  void startPage();
  bool finishPage();  // false: the user refused to replace it
  std::string cell(const IndexEntry& entry) const;
  std::string navigation() const {
    return indexNavigation(s_, page_, pageCount_, texts_.fontOpen(), texts_.fontClose());
  }

  const RunContext& run_;
  const GallerySettings& s_;
  PageTexts texts_;
  const std::vector<IndexEntry>& entries_;
  int pageCount_ = 0;
  int page_ = 1;
  PageLines lines_;
};

bool IndexWriter::write() {
  startPage();
  const std::size_t n = entries_.size();
  const int perPage = s_.Cols * s_.Rows;
  int column = 1, cellNumber = 1;
  for (std::size_t k = 1; k <= n; ++k) {
    if (run_.cancelled()) return false;
    lines_.push_back(cell(entries_[k - 1]));
    ++column;
    ++cellNumber;
    if (column > s_.Cols) {
      if (k < n && cellNumber <= perPage) lines_.push_back("</TR><TR>");
      column = 1;
    }
    if (cellNumber <= perPage && k < n) continue;
    if (!finishPage()) return true;
    cellNumber = 1;
    ++page_;
    startPage();
  }
  return true;
}

void IndexWriter::startPage() {
  lines_ = texts_.head(page_);
  if (s_.VerLinkPos == 0 || s_.VerLinkPos == 2) lines_.push_back(navigation());
  lines_.push_back(texts_.tableOpen());
}

bool IndexWriter::finishPage() {
  lines_.push_back("</TR></TABLE>");
  if (s_.VerLinkPos == 1 || s_.VerLinkPos == 2) lines_.push_back(navigation());
  texts_.appendFoot(lines_);
  const fs::path file = targetFolder(s_) / indexPageName(s_, page_);
  run_.observer.pathShown(file);
  if (!writeOutput(run_, file, pageText(lines_), Existing::Ask)) return false;
  run_.outputs.wrote(file);
  return true;
}

std::string IndexWriter::cell(const IndexEntry& entry) const {
  const fs::path& source = entry.photo.source;
  if (s_.linkMode == LinkMode::CopyOriginal) {
    copyOutput(run_, source, imageFolder(s_) / entry.photo.copyName, platform::IfExists::Keep, source);
  }
  const std::string target = linkTarget(s_, entry.photo);
  const bool linked = !target.empty();
  const std::string picture = (linked ? "<a href=\"" + pageUrl(target) + "\">" : std::string()) + "<img src=\"" +
                              pageUrl(thumbnailReference(s_, entry.photo)) + "\" border=\"" + std::to_string(s_.ImgBorder) +
                              "\" height=" + std::to_string(entry.thumbHeight) +
                              " width=" + std::to_string(entry.thumbWidth) + ">" +
                              (linked ? "</a>" : "");
  std::string caption = s_.ParamString;
  if (platform::asciiLower(caption).find("%thumb") == std::string::npos) caption = "%thumb " + caption;
  caption = replaceAllIgnoreCase(std::move(caption), "%thumb", picture);
  caption = expandCaption(std::move(caption), source, CaptionVariant::IndexCell, texts_.captionStyle(),
                          run_.metadata);
  if (s_.cssOnly()) return "<TD class=\"td\">" + caption + "</TD>";
  const std::string background = s_.TableColor.size() == 7 ? "bgcolor=\"" + s_.TableColor + "\"" : "";
  return std::string(s_.UseCSS ? "<TD class=\"td\" valign=\"" : "<TD valign=\"") + s_.valignText() +
         "\" align=\"" + s_.alignText() + "\" " + background + ">" + texts_.fontOpen() + caption +
         texts_.fontClose() + "</TD>";
}

}  // namespace

std::string indexNavigation(const GallerySettings& s, int page, int pageCount, const std::string& fontOpen,
                            const std::string& fontClose) {
  if (pageCount <= 1) return {};
  const char* division = s.UseCSS ? "<div class=\"navigate\">" : "<div>";
  const auto pageLink = [&](int p, const std::string& text) { return link(pageUrl(indexPageName(s, p)), text); };
  std::string line = PageTexts(s).navigationTableOpen("td") + division + fontOpen;
  if (s.navStyle != NavStyle::NumbersNav) {
    if (page == 1) {
      line += pageLink(2, s.NextIndexPage);
    } else if (page < pageCount) {
      line += pageLink(page - 1, s.BackIndexPage) + s.Separator + pageLink(page + 1, s.NextIndexPage);
    } else {
      line += pageLink(page - 1, s.BackIndexPage) + s.Separator + pageLink(1, s.FirstPage);
    }
  }
  line += fontClose + "</div>";
  if (s.navStyle != NavStyle::BackNextNav) {
    line += division + fontOpen;
    for (int m = 1; m <= pageCount; ++m) {
      line += m == page ? " <B>" + std::to_string(m) + "</B>"
                        : " " + pageLink(m, std::to_string(m)) + " ";
    }
    line += fontClose + "</div>";
  }
  return line + "</td></tr></table>";
}

bool writeIndexPages(const RunContext& run, const std::vector<IndexEntry>& entries) {
  run.observer.status("Creating thumbnail index pages...");
  copySupportingFiles(run);
  return IndexWriter(run, entries).write();
}

}  // namespace vistrel::gallery
