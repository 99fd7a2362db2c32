// One folder of awkward file names through a whole gallery run: every page
// must be UTF-8 and say so, show each name as it is, and lead a browser to
// every file it refers to.

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
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

// A page design the tests use, applied over the one the fixture starts from.
struct Design {
  const char* name;
  void (*apply)(GallerySettings&);
};

const Design kDesigns[] = {
    {"StyleSheetSubfoldersAndPaging", [](GallerySettings&) {}},
    {"TablesAndNumberedPages",
     [](GallerySettings& s) {
       s.UseCSS = false;
       s.UseSubfolders = false;
       s.navStyle = NavStyle::NumbersNav;
       s.linkMode = LinkMode::MediumFormat;
       s.Cols = 2;
     }},
    {"StyleSheetOnly",
     [](GallerySettings& s) {
       s.NoHTML = true;
       s.navStyle = NavStyle::BackNextNav;
       s.textPosition = TextPosition::TextLeft;
     }},
    {"Overlays",
     [](GallerySettings& s) {
       s.UseOverlayText = true;
       s.UseMediumOverlay = true;
       s.linkMode = LinkMode::MediumFormat;
     }},
    {"ThumbnailsLinkToOriginals",
     [](GallerySettings& s) {
       s.CreateFullPage = false;
       s.linkMode = LinkMode::InclLink;
     }},
};

struct AwkwardNamesTest : PageFixture {
  ImagingCodec codec;
  std::vector<fs::path> sources;

  explicit AwkwardNamesTest(const Design& design = kDesigns[0]) {
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
    design.apply(settings);
    const RunResult result = runGallery(settings, options, sources, CandidateSource::TaggedFiles, cancel,
                                        {prompter, observer, meta, codec, folder / "data"});
    EXPECT_EQ(result.outcome, RunResult::Outcome::Completed) << result.message;
  }

  static std::size_t photoCount() { return test::awkwardNames().size(); }
  static std::size_t indexPageCount() { return (photoCount() + 5) / 6; }

  std::vector<fs::path> pages() const {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "web")) {
      if (entry.path().extension() == ".html" && entry.path().filename() != "crawl.html") found.push_back(entry.path());
    }
    return found;
  }
};

struct EveryDesignTest : AwkwardNamesTest, ::testing::WithParamInterface<Design> {
  EveryDesignTest() : AwkwardNamesTest(GetParam()) {}
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

TEST_P(EveryDesignTest, EveryLinkAndPictureLeadsToItsFile) {
  const std::regex reference("(?:href|src)=\"([^\"]*)\"");
  int checked = 0;
  for (const fs::path& page : pages()) {
    const std::string text = platform::readFile(page);
    for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
      const std::string url = (*it)[1];
      if (url.find("://") != std::string::npos) continue;  // the footer's web site
      EXPECT_TRUE(fs::exists(page.parent_path() / fileOfUrl(url))) << url << " in " << page;
      ++checked;
    }
  }
  // At least a thumbnail and its link per photo.
  EXPECT_GE(checked, static_cast<int>(photoCount()) * 2);
}

// A script that walks the gallery's pages from its first page in frames and
// lists, for every page it reaches, how many pictures it has, how many of them
// (and of its style sheets) a browser could not load, the pages it links to
// and its visible text (each URI-encoded).
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
    const sheets = doc ? [...doc.querySelectorAll('link[rel=stylesheet]')] : [];
    const broken = images.filter(i => !i.complete || i.naturalWidth === 0).length + sheets.filter(l => !l.sheet).length;
    const pages = doc ? [...doc.links].filter(a => a.protocol === 'file:' && a.pathname.endsWith('.html'))
                                      .map(a => a.href.split('#')[0]) : [];
    report.push([url, images.length, broken, pages.join('\n'), doc ? doc.body.innerText : ''].map(encodeURIComponent).join(' '));
    pages.forEach(visit);
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

struct CrawledPage {
  std::string images, broken, text;
  std::set<std::string> links;
};

std::map<std::string, CrawledPage> crawl(const test::TempFolder& folder) {
  const fs::path crawler = folder.write("web/crawl.html", kCrawler);
  const fs::path log = folder / "chromium.log";
  const std::string dom = test::runTool(
      {"sh", "-c", "exec \"$@\" 2>\"$0\"", log.string(), "timeout", "120", "chromium", "--headless", "--no-sandbox",
       "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
       "--disable-component-update", "--disable-sync", "--user-data-dir=" + (folder / "chromium").string(),
       "--allow-file-access-from-files", "--enable-logging=stderr", "--v=0", "--virtual-time-budget=20000",
       "--dump-dom", "file://" + crawler.string()});
  // What the pages wrote to the console: script errors and refused loads.
  std::istringstream logLines(platform::readFile(log));
  for (std::string line; std::getline(logLines, line);) {
    EXPECT_EQ(line.find(":CONSOLE"), std::string::npos) << line;
  }
  std::map<std::string, CrawledPage> pages;
  const auto start = dom.find("<pre id=\"report\">"), end = dom.find("</pre>");
  EXPECT_NE(start, std::string::npos) << dom;
  if (start == std::string::npos) return pages;
  std::istringstream report(dom.substr(start + 17, end - start - 17));
  for (std::string line; std::getline(report, line);) {
    std::istringstream fields(line);
    std::string url, links;
    CrawledPage page;
    fields >> url >> page.images >> page.broken >> links >> page.text;
    std::istringstream linkLines(percentDecoded(links));
    for (std::string link; std::getline(linkLines, link);) page.links.insert(link);
    pages[percentDecoded(url)] = page;
  }
  return pages;
}

bool isIndexPage(const std::string& url) { return url.find("/my_gallery_") != std::string::npos; }

// Whether every image page reaches every other, and is reached from every
// other, by links between image pages: so each has its next and previous page.
bool imagePagesLinkBothWays(const std::map<std::string, CrawledPage>& pages) {
  std::set<std::string> imagePages;
  for (const auto& [url, page] : pages) {
    if (!isIndexPage(url)) imagePages.insert(url);
  }
  if (imagePages.empty()) return true;
  for (const bool forward : {true, false}) {
    const auto linked = [&](const std::string& from, const std::string& to) {
      return forward ? pages.at(from).links.contains(to) : pages.at(to).links.contains(from);
    };
    std::set<std::string> reached{*imagePages.begin()};
    std::vector<std::string> queue{*imagePages.begin()};
    while (!queue.empty()) {
      const std::string from = queue.back();
      queue.pop_back();
      for (const std::string& to : imagePages) {
        if (!reached.contains(to) && linked(from, to)) {
          reached.insert(to);
          queue.push_back(to);
        }
      }
    }
    if (reached.size() != imagePages.size()) return false;
  }
  return true;
}

TEST_P(EveryDesignTest, ChromiumShowsEveryPictureAndPageOfTheGallery) {
  if (!test::haveTool("chromium")) GTEST_SKIP() << "needs Debian's chromium";
  const auto crawled = crawl(folder);
  EXPECT_EQ(crawled.size(), pages().size());
  std::string text;
  for (const auto& [url, page] : crawled) {
    EXPECT_NE(page.images, "0") << url;
    EXPECT_EQ(page.broken, "0") << url;
    text += percentDecoded(page.text);
    if (!isIndexPage(url)) {
      EXPECT_TRUE(std::any_of(page.links.begin(), page.links.end(), isIndexPage)) << url << " has no index link";
    }
  }
  EXPECT_TRUE(imagePagesLinkBothWays(crawled));
  for (const char* name : {"\u00c5lesund b\u00e5t.jpg", "caf\u00e9 #1 & 100%.jpg", "\u0141\u00f3d\u017a \u2013 zima.jpg",
                           "latin1 \u00e9t\u00e9.jpg"}) {
    EXPECT_NE(text.find(name), std::string::npos) << name << "\n" << text;
  }
}

// The pages declare no doctype, which makes them HTML 4.01 Transitional to a
// checker: they must have no errors; the warnings are listed for reading.
TEST_P(EveryDesignTest, PagesHaveNoHtmlErrors) {
  if (!test::haveTool("tidy")) GTEST_SKIP() << "needs Debian's tidy";
  for (const fs::path& page : pages()) {
    const std::string report = test::runTool(
        {"sh", "-c", "tidy -quiet -errors -utf8 --doctype loose --accessibility-check 0 \"$0\" 2>&1; echo status $?",
         page.string()});
    EXPECT_EQ(report.find("Error:"), std::string::npos) << page << "\n" << report;
    EXPECT_TRUE(report.ends_with("status 0\n") || report.ends_with("status 1\n")) << page << "\n" << report;
    if (report.find("Warning:") != std::string::npos) std::cout << page.filename().string() << ":\n" << report;
  }
}

INSTANTIATE_TEST_SUITE_P(Designs, EveryDesignTest, ::testing::ValuesIn(kDesigns),
                         [](const auto& design) { return std::string(design.param.name); });

}  // namespace
}  // namespace vistrel::gallery
