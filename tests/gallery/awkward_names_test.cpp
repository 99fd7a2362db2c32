// One folder of awkward file names through a whole gallery run: every page
// must be UTF-8 and say so, show each name as it is, and lead a browser to
// every file it refers to.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "../metadata/tools.h"
#include "gallery/gallery_run.h"
#include "gallery/imaging_codec.h"
#include "page_fixture.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/awkward_names.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

// A name as a page shows it: HTML-escaped, as the writers escape file names.
std::string escaped(const std::string& name) {
  std::string text;
  for (const char c : name) {
    switch (c) {
      case '&': text += "&amp;"; break;
      case '<': text += "&lt;"; break;
      case '>': text += "&gt;"; break;
      case '"': text += "&quot;"; break;
      default: text += c;
    }
  }
  return text;
}

std::string percentDecoded(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// What a browser makes of a relative URL in an attribute: entities resolved,
// fragment and query cut off, then the bytes percent-decoded.
std::string fileOfUrl(std::string url) {
  for (std::size_t at; (at = url.find("&amp;")) != std::string::npos;) url.replace(at, 5, "&");
  return percentDecoded(url.substr(0, url.find_first_of("#?")));
}

struct AwkwardNamesTest : PageFixture {
  ImagingCodec codec;
  std::vector<fs::path> sources;

  AwkwardNamesTest() {
    sources = test::writeAwkwardFiles(folder, "src", ".jpg", codec.encodeJpeg(RgbImage(64, 48), 80));
    folder.write("data/css/slate & co.css", "body { color: #333 }");
    settings.Filename = "my gallery #1";
    settings.linkMode = LinkMode::CopyOriginal;
    settings.CreateFullPage = true;
    settings.UseSubfolders = true;
    settings.UseCSS = true;
    settings.CSSfname = "slate & co.css";
    settings.Cols = 3;
    settings.Rows = 2;
    settings.ParamString = "%fname";
    settings.FullPageParamString = "%fname";
    const RunResult result = runGallery(settings, options, sources, CandidateSource::TaggedFiles, cancel,
                                        {prompter, observer, meta, codec, folder / "data"});
    EXPECT_EQ(result.outcome, RunResult::Outcome::Completed) << result.message;
  }

  static std::size_t photoCount() { return test::awkwardNames().size(); }
  static std::size_t indexPageCount() { return (photoCount() + 5) / 6; }

  std::vector<fs::path> pages() const {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder / "web")) {
      if (entry.path().extension() == ".html") found.push_back(entry.path());
    }
    return found;
  }
};

TEST_F(AwkwardNamesTest, PagesAreUtf8AndShowEveryNameAsItIs) {
  ASSERT_EQ(pages().size(), photoCount() + indexPageCount());  // an image page each, and the index pages
  std::string indexes;
  std::vector<std::string> imagePages;
  for (const fs::path& page : pages()) {
    const std::string text = platform::readFile(page);
    EXPECT_TRUE(platform::isValidUtf8(text)) << page;
    EXPECT_TRUE(text.starts_with(kHead)) << page;
    if (page.filename().string().starts_with("my_gallery")) {
      indexes += text;
    } else {
      imagePages.push_back(text);
    }
  }
  for (const test::AwkwardName& name : test::awkwardNames()) {
    const std::string shown = "<div class=\"filename\">" + escaped(name.shown + ".jpg") + "</div>";
    EXPECT_NE(indexes.find(shown), std::string::npos) << name.shown;
    EXPECT_EQ(std::count_if(imagePages.begin(), imagePages.end(),
                            [&](const std::string& page) { return page.find(shown) != std::string::npos; }),
              1)
        << name.shown;
  }
}

TEST_F(AwkwardNamesTest, EveryLinkAndPictureLeadsToItsFile) {
  const std::regex reference("(?:href|src)=\"([^\"]*)\"");
  int checked = 0;
  for (const fs::path& page : pages()) {
    const std::string text = platform::readFile(page);
    for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
      const std::string url = (*it)[1];
      if (url.find("://") != std::string::npos) continue;  // the footer's web site
      EXPECT_TRUE(fs::exists(folder / "web" / fileOfUrl(url))) << url << " in " << page;
      ++checked;
    }
  }
  // Per image page: the style sheet, five navigation links, the picture and its link.
  EXPECT_GT(checked, static_cast<int>(photoCount()) * 8);
}

// A script that walks the gallery from its first page in frames and lists,
// for every page it reaches, how many pictures it has, how many of them a
// browser could not show, and its visible text (each URI-encoded).
constexpr const char* kCrawler = R"(<html><body><script>
const seen = new Set(), report = [];
let pending = 0;
function visit(url) {
  if (seen.has(url)) return;
  seen.add(url);
  ++pending;
  const frame = document.createElement('iframe');
  frame.onload = () => {
    const doc = frame.contentDocument;
    const images = doc ? [...doc.images] : [];
    const broken = images.filter(i => !i.complete || i.naturalWidth === 0).length;
    report.push([url, images.length, broken, doc ? doc.body.innerText : ''].map(encodeURIComponent).join(' '));
    if (doc) for (const a of doc.links) if (a.protocol === 'file:') visit(a.href);
    if (--pending === 0) {
      const pre = document.createElement('pre');
      pre.id = 'report';
      pre.textContent = report.join('\n');
      document.body.appendChild(pre);
    }
  };
  frame.src = url;
  document.body.appendChild(frame);
}
visit(new URL('my_gallery_%231.html', location.href).href);
</script></body></html>
)";

TEST_F(AwkwardNamesTest, ChromiumShowsEveryPictureOfEveryPage) {
  if (!test::haveTool("chromium")) GTEST_SKIP() << "needs Debian's chromium";
  const fs::path crawler = folder.write("web/crawl.html", kCrawler);
  const std::string dom = test::runTool(
      {"timeout", "120", "chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
       "--disable-background-networking", "--disable-component-update", "--disable-sync",
       "--user-data-dir=" + (folder / "chromium").string(), "--allow-file-access-from-files",
       "--virtual-time-budget=20000", "--dump-dom", "file://" + crawler.string()});
  const auto start = dom.find("<pre id=\"report\">"), end = dom.find("</pre>");
  ASSERT_NE(start, std::string::npos) << dom;
  std::istringstream report(dom.substr(start + 17, end - start - 17));
  std::string text;
  int pagesReached = 0;
  for (std::string line; std::getline(report, line); ++pagesReached) {
    std::istringstream fields(line);
    std::string url, images, broken, body;
    fields >> url >> images >> broken >> body;
    EXPECT_NE(images, "0") << percentDecoded(url);
    EXPECT_EQ(broken, "0") << percentDecoded(url);
    text += percentDecoded(body);
  }
  EXPECT_EQ(pagesReached, static_cast<int>(photoCount() + indexPageCount()));
  for (const char* name : {"\u00c5lesund b\u00e5t.jpg", "caf\u00e9 #1 & 100%.jpg", "\u0141\u00f3d\u017a \u2013 zima.jpg",
                           "latin1 \u00e9t\u00e9.jpg"}) {
    EXPECT_NE(text.find(name), std::string::npos) << name << "\n" << text;
  }
}

}  // namespace
}  // namespace vistrel::gallery
