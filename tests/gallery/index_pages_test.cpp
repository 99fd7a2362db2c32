#include <gtest/gtest.h>

#include "gallery/index_pages.h"
#include "page_fixture.h"
#include "platform/files.h"

namespace vistrel::gallery {
namespace {

using Lines = std::vector<std::string>;

struct IndexPagesTest : PageFixture {
  std::vector<IndexEntry> entries(int count) {
    std::vector<IndexEntry> result;
    for (int i = 1; i <= count; ++i) {
      result.push_back({folder / ("src/img" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".jpg"), 150, 100});
    }
    return result;
  }
  void write(const std::vector<IndexEntry>& list) {
    OverwriteGuard guard(prompter, options.cbReplaceExisting);
    writeIndexPages(context(guard), list);
  }
  static std::string cell(const std::string& name) {
    return "<TD valign=\"middle\" align=\"center\" bgcolor=\"#EEEEEE\">" + kFont + "<a href=\"" + name +
           ".html\"><img src=\"thumb_" + name + ".jpg\" border=\"0\" height=100 width=150></a> " + name +
           ".jpg</FONT></TD>";
  }
  static Lines head(int page) {
    return {kHead, "<TITLE>Vistrel gallery " + std::to_string(page) + "</TITLE>",
            "<META NAME=\"Generator\" CONTENT=\"Vistrel\"></HEAD>",
            "<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#0033FF\" VLINK=\"#CCCCCC\"> <div align=\"center\"> "
            "<FONT FACE=\"Tahoma\" Size=\"+2\" Color=\"#000000\"><p>Vistrel gallery</p></FONT>"};
  }
  static Lines foot() {
    return {"<FONT FACE=\"Tahoma\" Size=\"-1\" Color=\"#000000\"><p>" + defaultFooterText() + "</FONT></p>",
            "</BODY></HTML>"};
  }
  static Lines join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  }
};

TEST_F(IndexPagesTest, TenImagesInThreeByThreeMakeTwoPages) {
  write(entries(10));
  const std::string numbers1 = "<div>" + kFont + " <B>1</B> <a href=\"index2.html\">2</a> </FONT></div>";
  EXPECT_EQ(lines("index.html"),
            join({head(1),
                  {kNavTable + "<td align=\"center\"><div>" + kFont + "<a href=\"index2.html\">Next</a></FONT></div>" +
                       numbers1 + "</td></tr></table>",
                   "<TABLE border=0 width=500 cellpadding=8 cellspacing=8><TR>", cell("img01"), cell("img02"),
                   cell("img03"), "</TR><TR>", cell("img04"), cell("img05"), cell("img06"), "</TR><TR>",
                   cell("img07"), cell("img08"), cell("img09"), "</TR></TABLE>"},
                  foot()}));
  const std::string numbers2 = "<div>" + kFont + " <a href=\"index.html\">1</a>  <B>2</B></FONT></div>";
  EXPECT_EQ(lines("index2.html"),
            join({head(2),
                  {kNavTable + "<td align=\"center\"><div>" + kFont +
                       "<a href=\"index.html\">Back</a> - <a href=\"index.html\">First page</a></FONT></div>" +
                       numbers2 + "</td></tr></table>",
                   "<TABLE border=0 width=500 cellpadding=8 cellspacing=8><TR>", cell("img10"), "</TR></TABLE>"},
                  foot()}));
  EXPECT_FALSE(exists("index3.html"));
}

TEST_F(IndexPagesTest, OnePageHasAnEmptyLineForItsNavigation) {
  settings.VerLinkPos = 2;
  settings.InclPageNo = false;
  write(entries(9));
  const Lines page = lines("index.html");
  EXPECT_EQ(page[1], "<TITLE>Vistrel gallery</TITLE>");
  EXPECT_EQ(page[4], "");
  EXPECT_EQ(page[page.size() - 4], "</TR></TABLE>");
  EXPECT_EQ(page[page.size() - 3], "");
  EXPECT_FALSE(exists("index2.html"));
}

TEST_F(IndexPagesTest, PageThreeOfFourWithBothNavigationStyles) {
  EXPECT_EQ(indexNavigation(settings, 3, 4, "<F>", "</F>"),
            kNavTable + "<td align=\"center\"><div><F><a href=\"index2.html\">Back</a> - "
                        "<a href=\"index4.html\">Next</a></F></div><div><F> <a href=\"index.html\">1</a>  "
                        "<a href=\"index2.html\">2</a>  <B>3</B> <a href=\"index4.html\">4</a> </F></div>"
                        "</td></tr></table>");
  settings.navStyle = NavStyle::NumbersNav;
  settings.UseCSS = true;
  settings.HorLinkPos = 2;
  EXPECT_EQ(indexNavigation(settings, 2, 2, "", ""),
            kNavTable + "<td align=\"right\"><div class=\"navigate\"></div><div class=\"navigate\"> "
                        "<a href=\"index.html\">1</a>  <B>2</B></div></td></tr></table>");
  settings.navStyle = NavStyle::BackNextNav;
  EXPECT_EQ(indexNavigation(settings, 1, 2, "", ""),
            kNavTable + "<td align=\"right\"><div class=\"navigate\"><a href=\"index2.html\">Next</a></div>"
                        "</td></tr></table>");
}

TEST_F(IndexPagesTest, FileNameWithABlankAndOtherExtension) {
  settings.Filename = "my gallery";
  settings.FileExtension = 1;
  write(entries(10));
  EXPECT_TRUE(exists("my_gallery.htm"));
  EXPECT_TRUE(exists("my_gallery2.htm"));
  EXPECT_NE(lines("my_gallery.htm")[4].find("<a href=\"my_gallery2.htm\">Next</a>"), std::string::npos);
}

TEST_F(IndexPagesTest, BlanksBecomePercent20InReferencesOnlyWhateverTheOption) {
  settings.linkMode = LinkMode::MediumFormat;
  settings.CreateFullPage = false;
  std::vector<IndexEntry> list{{folder / "src/holiday pic.jpg", 150, 100}};
  write(list);
  EXPECT_EQ(lines("index.html")[6],
            "<TD valign=\"middle\" align=\"center\" bgcolor=\"#EEEEEE\">" + kFont +
                "<a href=\"medium_holiday%20pic.jpg\"><img src=\"thumb_holiday%20pic.jpg\" border=\"0\" "
                "height=100 width=150></a> holiday pic.jpg</FONT></TD>");
  options.cbFixFilenames = false;
  settings.linkMode = LinkMode::InclLink;
  options.cbReplaceExisting = true;
  write(list);
  // The temporary folder's path needs no escaping.
  EXPECT_NE(lines("index.html")[6].find("<a href=\"" + (folder / "src").string() +
                                        "/holiday%20pic.jpg\"><img src=\"thumb_holiday%20pic.jpg\""),
            std::string::npos);
}

TEST_F(IndexPagesTest, SubfoldersAndCopiedOriginalsLinkedToImagePages) {
  settings.UseSubfolders = true;
  settings.linkMode = LinkMode::CopyOriginal;
  std::filesystem::create_directories(folder / "web/images");
  const auto source = folder.write("src/x.jpg", "picture");
  write({{source, 80, 60}});
  EXPECT_EQ(platform::readFile(folder / "web/images/x.jpg"), "picture");
  EXPECT_NE(lines("index.html")[6].find("<a href=\"x.html\"><img src=\"thumbnails/thumb_x.jpg\" border=\"0\" "
                                        "height=60 width=80></a>"),
            std::string::npos);
  // Without image pages the cell links to the copy.
  settings.CreateFullPage = false;
  options.cbReplaceExisting = true;
  write({{source, 80, 60}});
  EXPECT_NE(lines("index.html")[6].find("<a href=\"images/x.jpg\">"), std::string::npos);
}

TEST_F(IndexPagesTest, CssOnlyModeDropsFontsAndCellAttributes) {
  settings.UseCSS = true;
  settings.NoHTML = true;
  settings.CSSfname = "slate.css";
  settings.Cols = settings.Rows = 1;
  settings.linkMode = LinkMode::DontLink;
  folder.write("data/css/slate.css", "body{}");
  folder.write("data/css/css_slate.gif", "GIF");
  write(entries(1));
  EXPECT_EQ(lines("index.html"),
            (Lines{kHead, "<link rel=\"stylesheet\" href=\"slate.css\" TYPE=\"text/css\">",
                   "<TITLE>Vistrel gallery 1</TITLE>", "<META NAME=\"Generator\" CONTENT=\"Vistrel\"></HEAD>",
                   "<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#0033FF\" VLINK=\"#CCCCCC\"> <div align=\"center\"> "
                   "<p class=\"pageheading\">Vistrel gallery</p>",
                   "", "<TABLE border=0 width=500 cellpadding=8 cellspacing=8><TR>",
                   "<TD class=\"td\"><img src=\"thumb_img01.jpg\" border=\"0\" height=100 width=150> "
                   "<div class=\"filename\">img01.jpg</div></TD>",
                   "</TR></TABLE>", "<p class=\"footer\">" + defaultFooterText() + "</p>", "</BODY></HTML>"}));
  EXPECT_TRUE(exists("slate.css"));
  EXPECT_TRUE(exists("css_slate.gif"));
}

TEST_F(IndexPagesTest, HeadAndFootTexts) {
  settings.HeadText = "<meta name=\"x\">\r\n<meta name=\"y\">";
  settings.HeaderText = "Top";
  settings.BottomText = "(c) 2024";
  settings.HeadlineText = "";
  settings.AlignCenter = false;
  write(entries(1));
  const Lines page = lines("index.html");
  EXPECT_EQ(page[2], "<meta name=\"x\">");
  EXPECT_EQ(page[3], "<meta name=\"y\">");
  EXPECT_EQ(page[5], "<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#0033FF\" VLINK=\"#CCCCCC\"> <div> ");
  EXPECT_EQ(page[6], "<p>Top</p>");
  EXPECT_EQ(page[page.size() - 2], "(c) 2024");
}

TEST_F(IndexPagesTest, NavigationImagesAreCopiedByTheirNamesOnly) {
  settings.NextIndexPage = "<img src=\"next.gif\" border=0>";
  settings.BackToIndex = "<img src=\"../../etc/home.gif\" border=0>";
  folder.write("data/gifs/next.gif", "N");
  folder.write("data/gifs/home.gif", "H");
  write(entries(1));
  EXPECT_TRUE(exists("next.gif"));
  EXPECT_TRUE(exists("home.gif"));
}

TEST_F(IndexPagesTest, OverwriteQuestionsNoStopsAllLaterIndexPages) {
  write(entries(10));
  platform::writeFileAtomically(folder / "web/index.html", "old");
  prompter.expect("index.html already exists.\rDo you want to replace it?", platform::Answer::No);
  write(entries(10));
  EXPECT_EQ(platform::readFile(folder / "web/index.html"), "old");
  prompter.expect("index.html already exists", platform::Answer::Yes);
  prompter.expect("index2.html already exists", platform::Answer::Yes);
  write(entries(10));
  prompter.expect("index.html already exists", platform::Answer::All);
  write(entries(10));
}

TEST_F(IndexPagesTest, CancelWritesNoPage) {
  cancel = true;
  OverwriteGuard guard(prompter, false);
  EXPECT_FALSE(writeIndexPages(context(guard), entries(3)));
  EXPECT_FALSE(exists("index.html"));
}

}  // namespace
}  // namespace vistrel::gallery
