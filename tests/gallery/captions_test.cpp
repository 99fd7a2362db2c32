#include <gtest/gtest.h>

#include "fake_metadata.h"
#include "gallery/captions.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::gallery {
namespace {

struct CaptionsTest : ::testing::Test {
  FakeMetadata meta;
  CaptionStyle plain;
  CaptionStyle css{"<FONT>", true};

  std::string page(const std::string& format, const std::string& file = "/pics/b.jpg") {
    return expandCaption(format, file, CaptionVariant::ImagePage, plain, meta);
  }
  std::string overlay(const std::string& format, const std::string& file = "/pics/b.jpg") {
    return expandCaption(format, file, CaptionVariant::Overlay, plain, meta);
  }
};

TEST_F(CaptionsTest, PlaceholdersMatchInAnyCaseAndKeepTheRest) {
  EXPECT_EQ(overlay("Vistrel - %FName"), "Vistrel - b.jpg");
  EXPECT_EQ(page("%FNAME and %fname, %Path"), "b.jpg and b.jpg, /pics/b.jpg");
  EXPECT_EQ(page("No Placeholders <B>here</B>"), "No Placeholders <B>here</B>");
}

TEST_F(CaptionsTest, IptcValuesAreNeverCutApartByTheShortPlaceholder) {
  meta.iptc["b.jpg"] = {{"ImageHeadline", "H"}, {"ImageCaption", "C"}, {"ImageCredit", "R"}};
  EXPECT_EQ(page("%iptc_headline %iptc"), "H C");
  EXPECT_EQ(expandCaption("%IPTC_credit/%iptc", "/pics/b.jpg", CaptionVariant::IndexCell, plain, meta), "R/C");
}

TEST_F(CaptionsTest, LaterStepsExpandEarlierValuesButAStepNeverItsOwn) {
  meta.descriptions["b.jpg"] = "see %desc and %iptc";
  meta.iptc["b.jpg"] = {{"ImageCaption", "C"}};
  EXPECT_EQ(page("%desc"), "see %desc and C");
}

TEST_F(CaptionsTest, SizeIsInWholeKilobytes) {
  test::TempFolder folder;
  const auto small = folder.write("small.jpg", std::string(1023, 'x'));
  const auto two = folder.write("two.jpg", std::string(2048, 'x'));
  EXPECT_EQ(page("%size", small.string()), "0 KB");
  EXPECT_EQ(page("%size", two.string()), "2 KB");
  EXPECT_EQ(page("%size", (folder / "none.jpg").string()), "0 KB");
}

TEST_F(CaptionsTest, DateLeavesOutTheTimeAtMidnight) {
  test::TempFolder folder;
  platform::useLocale("en_US");
  const auto file = folder.write("a.jpg", "x");
  platform::setLastWriteTime(file, platform::fromLocal({2024, 3, 5, 0, 0, 0, 0}));
  EXPECT_EQ(page("%date", file.string()), platform::shortDateText({2024, 3, 5}));
  platform::setLastWriteTime(file, platform::fromLocal({2024, 3, 5, 14, 7, 9, 0}));
  // The file system's two-second steps: 9 s reads as 8 s.
  EXPECT_EQ(page("%date", file.string()),
            platform::shortDateText({2024, 3, 5}) + " " + platform::longTimeText({2024, 3, 5, 14, 7, 8, 0}));
}

TEST_F(CaptionsTest, StyleSheetsWrapEachValueInItsDivision) {
  meta.descriptions["b.jpg"] = "Beach";
  meta.iptc["b.jpg"] = {{"ImageCaption", "C"}};
  EXPECT_EQ(expandCaption("%fname|%desc|%iptc|%size", "/pics/b.jpg", CaptionVariant::IndexCell, css, meta),
            "<FONT><div class=\"filename\">b.jpg</div>|<div class=\"description\">Beach</div>|"
            "<div class=\"iptc\">C</div>|<div class=\"size\">0 KB</div>");
  // The overlay always takes the bare value.
  EXPECT_EQ(expandCaption("%fname", "/pics/b.jpg", CaptionVariant::Overlay, css, meta), "b.jpg");
}

TEST_F(CaptionsTest, NamesAndMetadataAreEscapedInPagesButDescriptionsPassThrough) {
  meta.descriptions["a&b <x>.jpg"] = "<i>typed</i>";
  meta.iptc["a&b <x>.jpg"] = {{"ImageCaption", "\"Tom & Jerry\""}};
  EXPECT_EQ(page("%fname %desc %iptc", "/p/a&b <x>.jpg"),
            "a&amp;b &lt;x&gt;.jpg <i>typed</i> &quot;Tom &amp; Jerry&quot;");
  EXPECT_EQ(overlay("%fname", "/p/a&b <x>.jpg"), "a&b <x>.jpg");
}

TEST_F(CaptionsTest, ExifPlaceholdersWithAndWithoutAnExifBlock) {
  EXPECT_EQ(page("%exifdate / %exifdate"), " / ");
  EXPECT_EQ(page("%ExifCamera%exifall"), "");
  meta.exifs["b.jpg"] = {"2024:05:01 10:00:00", "7 mm", "1/125", "f/2.8", "Cam X", "89",
                         "File Name: b.jpg\r\nCamera: Cam (X)"};
  EXPECT_EQ(page("%exifdate|%exiffocallength|%exifexposure|%exifaperture|%exifcamera|%exifflash"),
            "2024:05:01 10:00:00|7 mm|1/125|f/2.8|Cam X|89");
  EXPECT_EQ(expandCaption("%fname<br>%exifall", "/pics/b.jpg", CaptionVariant::ImagePage, css, meta),
            "<FONT><div class=\"filename\">b.jpg</div><br><div class=\"description\">"
            "File Name: b.jpg<br>Camera: Cam (X)</div>");
  EXPECT_EQ(overlay("%fname %exifall"), "b.jpg ");
}

TEST_F(CaptionsTest, TheWordExifReadsMetadataAndLineBreaksStayWithoutExifAll) {
  meta.exifs["b.jpg"] = {};
  EXPECT_EQ(page("Exif\r\ninside"), "Exif\r\ninside");
  EXPECT_EQ(meta.exifReads, 1);
  EXPECT_EQ(page("no metadata here"), "no metadata here");
  EXPECT_EQ(meta.exifReads, 1);
}

TEST_F(CaptionsTest, ExifErrorsAreCaughtOnlyInIndexCells) {
  meta.failExif = true;
  EXPECT_EQ(expandCaption("%fname %exifdate", "/pics/b.jpg", CaptionVariant::IndexCell, plain, meta),
            "b.jpg %exifdate");
  EXPECT_THROW(page("%exifdate"), Error);
  EXPECT_THROW(overlay("%exifdate"), Error);
}

}  // namespace
}  // namespace vistrel::gallery
