#include <gtest/gtest.h>

#include "gallery/image_pages.h"
#include "page_fixture.h"

namespace vistrel::gallery {
namespace {

using Lines = std::vector<std::string>;

struct ImagePagesTest : PageFixture {
  ImagePagesTest() {
    settings.FullPageParamString = "%fname";
  }
  void write(const std::vector<GalleryPhoto>& sources) {
    OverwriteGuard guard(prompter, false);
    writeImagePages(context(guard), sources);
  }
  std::vector<GalleryPhoto> sources(int count) {
    std::vector<GalleryPhoto> result;
    for (int i = 1; i <= count; ++i) result.push_back(folder / ("src/p" + std::to_string(i) + ".JPG"));
    return result;
  }
  static std::string nav(const std::string& links) {
    return kNavTable + "<TD align=\"center\"><p>" + kFont + links + "</FONT></p></td></tr></TABLE>";
  }
};

TEST_F(ImagePagesTest, OneImageHasOnlyTheIndexLinkAndAnUnlinkedPicture) {
  write(sources(1));
  EXPECT_EQ(lines("p1.html"),
            (Lines{kHead, "<TITLE>Vistrel gallery 1</TITLE>",
                   "<META NAME=\"Generator\" CONTENT=\"Vistrel\"></HEAD>",
                   "<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#0033FF\" VLINK=\"#CCCCCC\"> <div align=\"center\"> "
                   "<FONT FACE=\"Tahoma\" Size=\"+2\" Color=\"#000000\"><p>Vistrel gallery</p></FONT>",
                   nav("<a href=\"index.html\">Back to thumbnail index page</a>"),
                   "<TABLE border=0 width=500 cellpadding=8 cellspacing=8><TR>",
                   "<TD align=\"center\" bgcolor=\"#EEEEEE\"><img src=\"medium_p1.jpg\">",
                   "<div>" + kFont + "p1.JPG</FONT></div>", "</td></tr></table>",
                   kFont + "<p>" + defaultFooterText() + "</FONT></p>", "</BODY></HTML>"}));
}

TEST_F(ImagePagesTest, TwoImagesLinkToEachOther) {
  write(sources(2));
  const Lines first = lines("p1.html"), second = lines("p2.html");
  EXPECT_EQ(first[4], nav("<a href=\"index.html\">Back to thumbnail index page</a> - <a href=\"p2.html\">Next</a>"));
  EXPECT_EQ(first[6], "<TD align=\"center\" bgcolor=\"#EEEEEE\"><a href=\"p2.html\"><img src=\"medium_p1.jpg\" "
                      "border=\"0\"></a>");
  EXPECT_EQ(second[4], nav("<a href=\"p1.html\">Previous</a> - <a href=\"index.html\">Back to thumbnail index "
                           "page</a> - <a href=\"p1.html\">First page</a>"));
  EXPECT_EQ(second[1], "<TITLE>Vistrel gallery 2</TITLE>");
  EXPECT_EQ(second[6], "<TD align=\"center\" bgcolor=\"#EEEEEE\"><a href=\"p1.html\"><img src=\"medium_p2.jpg\" "
                       "border=\"0\"></a>");
}

TEST_F(ImagePagesTest, BackLinksFindTheIndexPageOfEachImage) {
  settings.Filename = "my gallery";
  write(sources(10));
  EXPECT_NE(lines("p9.html")[4].find("<a href=\"my_gallery.html\">"), std::string::npos);
  EXPECT_NE(lines("p10.html")[4].find("<a href=\"my_gallery2.html\">"), std::string::npos);
}

TEST_F(ImagePagesTest, NavigationAboveAndBelowAndCaptionOmittedWhenEmpty) {
  settings.VerLinkPos = 2;
  settings.FullPageParamString = "";
  write(sources(1));
  const Lines page = lines("p1.html");
  EXPECT_EQ(page[4], page[8]);
  EXPECT_EQ(page[7], "</td></tr></table>");
}

TEST_F(ImagePagesTest, CopiedOriginalsInSubfoldersWithEncodedNames) {
  settings.linkMode = LinkMode::CopyOriginal;
  settings.UseSubfolders = true;
  settings.UseCSS = true;
  settings.CSSfname = "a.css";
  std::vector<GalleryPhoto> list{folder / "src/big sky.jpg", folder / "src/b&w.jpg"};
  write(list);
  const Lines page = lines("big sky.html");
  EXPECT_EQ(page[7], "<TD class=\"td\" align=\"center\" bgcolor=\"#EEEEEE\"><a href=\"b%26w.html\">"
                     "<img src=\"images/big%20sky.jpg\" border=\"0\"></a>");
  EXPECT_EQ(page[8], "<div class=\"description\">" + kFont + "<div class=\"filename\">big sky.jpg</div></div>");
  EXPECT_NE(lines("b&w.html")[5].find("<a href=\"big%20sky.html\">Previous</a>"), std::string::npos);
}

TEST_F(ImagePagesTest, CancelStopsBeforeTheNextPage) {
  cancel = true;
  write(sources(2));
  EXPECT_FALSE(exists("p1.html"));
}

}  // namespace
}  // namespace vistrel::gallery
