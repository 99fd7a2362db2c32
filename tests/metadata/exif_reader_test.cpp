#include <gtest/gtest.h>

#include "byte_order_name.h"
#include "exif_builder.h"
#include "metadata/img_data.h"
#include "support/temp_folder.h"

namespace vistrel::metadata {
namespace {

using test::exifSegment;
using test::jpegOf;
using test::segment;
using test::TiffWriter;

constexpr int kApp0 = 0xE0, kApp2 = 0xE2, kApp13 = 0xED, kCom = 0xFE;

class ExifReaderTest : public ::testing::TestWithParam<bool> {
 protected:
  TiffWriter w{GetParam()};
  TimgData data;

  // A block with an Exif sub-directory and a GPS directory.
  std::string cameraBlock() {
    const std::uint32_t gps = w.addDirectory({w.ascii(0x0001, "N"), {0x0002, 5, 3, w.u32(48) + w.u32(1) + w.u32(30) + w.u32(1) + w.u32(15) + w.u32(1)}});
    const std::uint32_t exif = w.addDirectory({w.rational(0x829A, 10, 1250), w.rational(0x829D, 28, 10),
                                               w.shortValue(0x8827, 200), w.ascii(0x9003, "2021:06:07 08:09:10"),
                                               w.rational(0x920A, 74, 10), w.shortValue(0x9209, 89),
                                               w.longValue(0xA002, 2048), w.longValue(0xA003, 1536)});
    const std::uint32_t first = w.addDirectory({w.ascii(0x010F, "Maker"), w.ascii(0x0110, "Model 1"),
                                                w.shortValue(0x0112, 6), w.ascii(0x0132, "2020:01:02 03:04:05"),
                                                w.longValue(0x8769, exif), w.longValue(0x8825, gps)});
    return w.block(first);
  }

  bool readJpeg(const std::vector<std::string>& segments) {
    return data.ReadMetadataFromMemory(jpegOf(segments), ".jpg");
  }
};

TEST_P(ExifReaderTest, ReadsDirectoriesSubDirectoriesAndGps) {
  ASSERT_TRUE(readJpeg({segment(kApp0, "JFIF"), exifSegment(cameraBlock())}));
  EXPECT_EQ(data.ErrorText, "<none>");
  ASSERT_TRUE(data.HasExifBlock());
  EXPECT_EQ(data.BigEndian, GetParam());
  const TImageInfo& exif = *data.Exif;
  EXPECT_EQ(exif.CameraMake, "Maker");
  EXPECT_EQ(exif.CameraModel, "Model 1");
  EXPECT_EQ(exif.CameraDate, "2021:06:07 08:09:10");  // DateTimeOriginal beats DateTime
  EXPECT_EQ(exif.ValueOfName("exposuretime"), "10/1250");
  EXPECT_EQ(exif.ValueOfName("FNumber"), "f/2.8");
  EXPECT_EQ(exif.ValueOfName("Orientation"), "CounterClockwise 90\u00b0");
  EXPECT_EQ(exif.ValueOfName("GPSLatitude"), "48 Degrees 30 Minutes 15 Seconds");
  EXPECT_EQ(exif.FlashValue, 89);
  EXPECT_EQ(exif.ImageWidth, 2048);
  EXPECT_EQ(exif.ImageHeight, 1536);
  EXPECT_DOUBLE_EQ(exif.NumberOfName("FocalLength"), 7.4);
  EXPECT_EQ(exif.IntegerOfName("ISOSpeedRatings"), 200);
  EXPECT_EQ(exif.IndexOfName("Missing"), -1);
  EXPECT_NE(exif.ListingText.find("\r\nExposure Time = 10/1250"), std::string::npos);
  EXPECT_NE(exif.ListingText.find("\r\nFocal Length =  7.40"), std::string::npos);
  EXPECT_EQ(exif.DateAt(exif.DateTimePos)->year, 2020);
}

TEST_P(ExifReaderTest, ComputesThe35mmEquivalentFocalLength) {
  const std::uint32_t exif = w.addDirectory({w.rational(0x920A, 74, 10), w.shortValue(0xA210, 2),
                                             w.rational(0xA20E, 2000, 1), w.rational(0xA20F, 2000, 1),
                                             w.longValue(0xA002, 2048), w.longValue(0xA003, 1536)});
  const std::uint32_t first = w.addDirectory({w.longValue(0x8769, exif)});
  ASSERT_TRUE(readJpeg({exifSegment(w.block(first))}));
  EXPECT_EQ(data.Exif->ValueOfName("FocalLengthin35mmFilm"), " 9.85");
  EXPECT_TRUE(data.Exif->ListingText.ends_with("\r\nFocal Length in 35mm Film =  9.85"));
}

TEST_P(ExifReaderTest, ShowsValuesAsTheListingAlwaysHas) {
  const std::uint32_t first =
      w.addDirectory({w.shortValue(0x0112, 5), w.shortValue(0x0118, 65535), w.longValue(0x0119, 4294967295u),
                      w.rational(0x011A, 7, 0), {0x0102, 1, 20, std::string(20, '\x08')}, w.longValue(0x1234, 1),
                      w.ascii(0x010F, std::string(40, 'M')), w.undefined(0x9286, std::string("ASCII\0\0\0note", 12))});
  ASSERT_TRUE(readJpeg({exifSegment(w.block(first))}));
  const TImageInfo& exif = *data.Exif;
  EXPECT_EQ(exif.ValueOfName("Orientation"), "");
  EXPECT_EQ(exif.ValueOfName("MinSampleValue"), "65535");
  EXPECT_EQ(exif.ValueOfName("MaxSampleValue"), "-1");
  EXPECT_EQ(exif.ValueOfName("XResolution"), " 0.00");  // 7/0 has the value 0
  EXPECT_EQ(exif.ValueOfName("BitsPerSample"), "8, 8, 8, 8, 8, 8, 8, 8");
  // An unknown tag is listed but is no entry.
  EXPECT_NE(exif.ListingText.find("\r\nUnknown = 1"), std::string::npos);
  EXPECT_EQ(exif.EntryCount(), 7);
  EXPECT_EQ(exif.CameraMake, std::string(32, 'M'));
  EXPECT_EQ(exif.ValueOfName("Make"), std::string(40, 'M'));
  // A comment without terminating zero keeps its last character.
  EXPECT_EQ(exif.UserCommentText, "note");
}

TEST_P(ExifReaderTest, TextsOfOlderSoftwareBecomeUtf8AndAreCutBetweenCharacters) {
  // Latin-1 from an older program, UTF-8 from a newer one; "é" straddles byte 32 of the make.
  const std::string make = std::string(31, 'M') + "\xC3\xA9";
  const std::uint32_t first = w.addDirectory(
      {w.ascii(0x010E, "Fjord caf\xE9"), w.ascii(0x010F, make), w.ascii(0x0110, "\xC5\x81\xC3\xB3" "d\xC5\xBA"),
       w.ascii(0x013B, "J\xFCrgen"), w.ascii(0x8298, "\xA9 2004"),
       w.undefined(0x9286, std::string("ASCII\0\0\0Bl\xE5 time", 16))});
  ASSERT_TRUE(readJpeg({exifSegment(w.block(first))}));
  const TImageInfo& exif = *data.Exif;
  EXPECT_EQ(exif.ValueOfName("ImageDescription"), "Fjord caf\u00e9");
  EXPECT_EQ(exif.ValueOfName("Model"), "\u0141\u00f3d\u017a");
  EXPECT_EQ(exif.ValueOfName("Artist"), "J\u00fcrgen");
  EXPECT_EQ(exif.ValueOfName("Copyright"), "\u00a9 2004");
  EXPECT_EQ(exif.UserCommentText, "Bl\u00e5 time");
  EXPECT_EQ(exif.CameraMake, std::string(31, 'M'));
  EXPECT_NE(exif.ListingText.find("\r\nArtist = J\u00fcrgen"), std::string::npos);
}

TEST_P(ExifReaderTest, FirstDirectoryOffsetZeroMeansOffsetEight) {
  w.addDirectory({w.ascii(0x010F, "Zero")});
  ASSERT_TRUE(readJpeg({exifSegment(w.block(0))}));
  EXPECT_EQ(data.Exif->CameraMake, "Zero");
}

TEST_P(ExifReaderTest, ReadsTiffFilesWhereverTheirFirstDirectoryLies) {
  w.addBytes(std::string(300000, '\x55'));  // image data before the directory
  const std::uint32_t first = w.addDirectory({w.ascii(0x010F, "Far"), w.longValue(0x0100, 640)});
  ASSERT_TRUE(data.ReadMetadataFromMemory(w.block(first), ".TIF"));
  EXPECT_EQ(data.ErrorText, "<none>");
  EXPECT_TRUE(data.TiffMode);
  EXPECT_EQ(data.Exif->CameraMake, "Far");
  EXPECT_EQ(data.Exif->ImageWidth, 640);
}

TEST_P(ExifReaderTest, ShiftsAndSetsAllDatesInTheBuffer) {
  ASSERT_TRUE(readJpeg({exifSegment(cameraBlock())}));
  TImageInfo& exif = *data.Exif;
  exif.ShiftAllDates(0, 21, 0, 0);
  EXPECT_EQ(exif.BytesAt(exif.DateTimePos, 19), "2020:01:03 00:04:05");
  EXPECT_EQ(exif.BytesAt(exif.DateTimeOriginalPos, 19), "2021:06:08 05:09:10");
  exif.ShiftAllDates(-400, 0, 0, -5);
  EXPECT_EQ(exif.BytesAt(exif.DateTimePos, 19), "2018:11:29 00:04:00");
  exif.SetAllDates({1999, 12, 31, 23, 59, 58, 0});
  EXPECT_EQ(exif.BytesAt(exif.DateTimeOriginalPos, 19), "1999:12:31 23:59:58");
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifReaderTest, ::testing::Values(false, true),
                         test::byteOrderName);

TEST(ExifDates, ParseByFixedPlacesAndRefuseImpossibleDates) {
  EXPECT_EQ(ParseExifDate("2020-02-29T01:02:03"), (platform::DateTime{2020, 2, 29, 1, 2, 3, 0}));
  EXPECT_FALSE(ParseExifDate("2021:02:29 01:02:03"));
  EXPECT_FALSE(ParseExifDate("    :  :     :  :  "));
  EXPECT_FALSE(ParseExifDate("2021:02:2"));
  EXPECT_EQ(ExifDateText({2003, 4, 5, 6, 7, 8, 0}), "2003:04:05 06:07:08");
}

class SegmentScanTest : public ::testing::Test {
 protected:
  TimgData data;
  std::string exif = exifSegment(TiffWriter(false).block(0) + std::string(2, '\0'));
};

TEST_F(SegmentScanTest, GivesUpWhenTheFirstFourSegmentsHoldNoMetadata) {
  const std::string other = segment(kApp2, "x");
  EXPECT_FALSE(data.ReadMetadataFromMemory(jpegOf({other, other, other, other, exif}), ".jpg"));
  EXPECT_EQ(data.ErrorText, "Not an EXIF file");
  EXPECT_TRUE(data.ReadMetadataFromMemory(jpegOf({other, other, other, exif}), ".jpg"));
}

TEST_F(SegmentScanTest, CommentOnlyFilesAreReadWithoutExif) {
  ASSERT_TRUE(data.ReadMetadataFromMemory(jpegOf({segment(kApp0, "JFIF"), segment(kCom, "hello")}), ".jpeg"));
  EXPECT_EQ(data.ErrorText, "<none>");
  EXPECT_FALSE(data.HasExifBlock());
  EXPECT_EQ(data.CommentText(), "hello");
  EXPECT_TRUE(data.HeaderSection.has_value());
}

TEST_F(SegmentScanTest, XmpBeforeExifDoesNotHideIt) {
  const std::string xmp = segment(0xE1, "http://ns.adobe.com/xap/1.0/\0<x/>");
  ASSERT_TRUE(data.ReadMetadataFromMemory(jpegOf({xmp, exif, xmp}), ".jpg"));
  EXPECT_EQ(data.ErrorText, "<none>");
  EXPECT_EQ(data.ExifSection, 1u);
  EXPECT_EQ(data.SectionCount(), 4);  // both XMP packets stay stored
}

TEST_F(SegmentScanTest, ReportsBadHeadersAndByteOrders) {
  const std::string xmp = segment(0xE1, "http://ns.adobe.com/xap/1.0/");
  EXPECT_FALSE(data.ReadMetadataFromMemory(jpegOf({xmp}), ".jpg"));
  EXPECT_EQ(data.ErrorText, "Incorrect Exif header");
  ASSERT_TRUE(data.ReadMetadataFromMemory(jpegOf({segment(0xE1, std::string("Exif\0\0XX*\0\0\0\0\0", 14))}), ".jpg"));
  EXPECT_TRUE(data.HasExifBlock());
  EXPECT_EQ(data.Exif->EntryCount(), 0);
  EXPECT_EQ(data.ErrorText, "<none>");  // replaced: a segment was found
}

TEST_F(SegmentScanTest, RefusesWhatIsNoJpegOrTiff) {
  EXPECT_FALSE(data.ReadMetadataFromMemory("GIF89a", ".jpg"));
  EXPECT_EQ(data.ErrorText, "Not an EXIF file");
  EXPECT_FALSE(data.ReadMetadataFromMemory(jpegOf({exif}), ".png"));
  EXPECT_EQ(data.ErrorText, "Not an EXIF file");
  EXPECT_FALSE(data.ReadMetadataFromMemory("XX*\0", ".tif"));
  test::TempFolder folder;
  EXPECT_FALSE(data.ReadMetadata(folder / "missing.jpg"));
  EXPECT_EQ(data.ErrorText, "");
}

TEST_F(SegmentScanTest, ReadsFilesAndRecordsTheirDirectoryEntry) {
  test::TempFolder folder;
  const auto file = folder.write("a b.JPG", jpegOf({segment(kApp13, "Photoshop 3.0"), exif}));
  ASSERT_TRUE(data.ReadMetadata(file));
  EXPECT_EQ(data.FileName, file);
  EXPECT_EQ(data.FileSize, std::filesystem::file_size(file));
  EXPECT_EQ(data.IptcSection, 0u);
  EXPECT_TRUE(data.HasExifBlock());
}

TEST_F(SegmentScanTest, CommentAndIptcSegmentsCanBeReplacedOrAdded) {
  ASSERT_TRUE(data.ReadMetadataFromMemory(jpegOf({segment(kCom, "old")}), ".jpg"));
  data.SetCommentText("new");
  data.SetIptcBlock("8BIM");
  EXPECT_EQ(data.CommentText(), "new");
  EXPECT_EQ(data.Sections[*data.IptcSection].Data, std::string("\x00\x06", 2) + "8BIM");
  EXPECT_EQ(data.Sections[*data.IptcSection].Marker, kApp13);
  EXPECT_THROW(data.SetCommentText(std::string(70000, 'x')), Error);
}

}  // namespace
}  // namespace vistrel::metadata
