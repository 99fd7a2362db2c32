#include <gtest/gtest.h>

#include "exif_builder.h"
#include "metadata/descriptions.h"
#include "metadata/img_data.h"
#include "metadata/info_panel.h"
#include "metadata/summaries.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::metadata {
namespace {

using test::TiffWriter;

struct TextCase {
  std::string input;
  std::string expected;
};

class ExposureTextTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(ExposureTextTest, ShowsFractionsOfASecond) { EXPECT_EQ(ExposureText(GetParam().input), GetParam().expected); }
INSTANTIATE_TEST_SUITE_P(Rules, ExposureTextTest,
                         ::testing::Values(TextCase{"1/250", "1/250"}, TextCase{"10/1250", "1/125"},
                                           TextCase{"10/15", "1/1.5"}, TextCase{"13/10", "1.3"},
                                           TextCase{"2/1", "2"}, TextCase{"0/1", "0/1"}, TextCase{"", ""},
                                           TextCase{"a/b", "a/b"}, TextCase{"5/0", "5/0"}));

TEST(FocalText, CutsAtTheFirstComma) {
  EXPECT_EQ(FocalText(" 7,40"), " 7");
  EXPECT_EQ(FocalText(" 7.40"), " 7.40");
}

class SummaryTest : public ::testing::Test {
 protected:
  TiffWriter w{true};
  TimgData data;
  test::TempFolder folder;

  void read(const std::vector<TiffWriter::Entry>& exifEntries, const std::vector<TiffWriter::Entry>& firstEntries) {
    const std::uint32_t sub = w.addDirectory(exifEntries);
    std::vector<TiffWriter::Entry> entries = firstEntries;
    entries.push_back(w.longValue(0x8769, sub));
    const auto file = folder.write("IMG 1.jpg", test::jpegOf({test::exifSegment(w.block(w.addDirectory(entries)))}));
    ASSERT_TRUE(data.ReadMetadata(file));
  }
};

TEST_F(SummaryTest, InfoTextListsWhatTheBlockHolds) {
  read({w.rational(0x829A, 1, 250), w.rational(0x920A, 50, 1), w.rational(0x829D, 4, 1), w.shortValue(0x8827, 100),
        w.shortValue(0x9209, 89), w.longValue(0xA002, 640), w.longValue(0xA003, 480),
        w.ascii(0x9003, "2019:08:07 06:05:04")},
       {w.ascii(0x010F, "Make"), w.ascii(0x0110, "Model")});
  const std::string text = data.Exif->InfoText();
  EXPECT_TRUE(text.starts_with("File Name: IMG 1.jpg\r\nFile Size: 0k\r\nFile Date: ")) << text;
  EXPECT_TRUE(text.ends_with("\r\nPhoto Date: 2019:08:07 06:05:04\r\nCamera: Make (Model)\r\nDimensions: 640 x 480\r\n"
                             "Exposure: 1/250 sec\r\nFocal length: 50.00 mm\r\nAperture: f/4.0\r\nISO: 100\r\n"
                             "Flash: On, auto mode, red-eye reduction"))
      << text;
  EXPECT_EQ(data.Exif->BriefText(),
            "EXIF date/time: 2019:08:07 06:05:04\r\nCamera: Make (Model)\r\nFocal length: 50.00 mm\r\n"
            "Exposure: 1/250 sec\r\nAperture: f/4.0\r\nISO: 100\r\nFlash: On, auto mode, red-eye reduction");
  const auto values = ExifCaptionValuesOf(data);
  ASSERT_TRUE(values);
  EXPECT_EQ(values->date, "2019:08:07 06:05:04");
  EXPECT_EQ(values->focalLength, "50.00 mm");
  EXPECT_EQ(values->exposure, "1/250");
  EXPECT_EQ(values->aperture, "f/4.0");
  EXPECT_EQ(values->camera, "Make Model");
  EXPECT_EQ(values->flash, "89");
  EXPECT_EQ(values->all, text);
  EXPECT_EQ(PhotoDateOfFile(data.FileName), (platform::DateTime{2019, 8, 7, 6, 5, 4, 0}));
}

TEST_F(SummaryTest, ShutterSpeedStandsInForAMissingExposureTime) {
  read({{0x9201, 10, 1, w.u32(7) + w.u32(1)}}, {});
  EXPECT_NE(data.Exif->InfoText().find("\r\nExposure Time: 0.0078 sec (1/128) sec\r\n"), std::string::npos);
  // Without make and model the camera line is still there.
  EXPECT_NE(data.Exif->BriefText().find("\r\nCamera:  ()\r\n"), std::string::npos);
}

TEST_F(SummaryTest, FilesWithoutExifHaveNoValuesAndTheFileDate) {
  const auto file = folder.write("plain.jpg", test::jpegOf({test::segment(0xFE, "note")}));
  platform::setLastWriteTime(file, platform::fromLocal({2001, 2, 3, 4, 5, 6, 0}));
  EXPECT_FALSE(ExifCaptionValuesOf(file));
  EXPECT_EQ(PhotoDateOfFile(file), (platform::DateTime{2001, 2, 3, 4, 5, 6, 0}));
  EXPECT_EQ(IptcValueOfFile(file, "ImageCaption"), "");
  EXPECT_THROW(PhotoDateOfFile(folder / "missing.jpg"), Error);
}

TEST_F(SummaryTest, InfoPanelTexts) {
  read({w.rational(0x829A, 1, 250)}, {});
  const std::string exif = ExifTabText(data, true);
  EXPECT_TRUE(exif.starts_with("EXIF overview:\r\n-------------------------\r\nEXIF date/time: \r\n")) << exif;
  EXPECT_NE(exif.find("\r\n\r\nEXIF Data:\r\n-------------------------\r\nErrStr = <none>\r\nMotorola Byte Order\r\n"
                      "Exif Offset = "),
            std::string::npos)
      << exif;
  EXPECT_EQ(ExifTabText(data, false).find("EXIF Data:"), std::string::npos);
  EXPECT_TRUE(IsExifTabHeading("EXIF overview:"));

  SetDescription(folder / "scan.tiff", "a scan");
  const auto tiff = InfoPanelTextsOf(folder.write("scan.tiff", "II*\0"), true);
  EXPECT_EQ(tiff.exif, "Unsupported file format");
  EXPECT_EQ(tiff.description, "a scan");
  EXPECT_FALSE(tiff.iptcEditable);
  const auto plain = InfoPanelTextsOf(folder.write("plain.JPG", test::jpegOf({})), false);
  EXPECT_EQ(plain.exif, "No EXIF info found");
  EXPECT_TRUE(plain.iptcEditable);
}

}  // namespace
}  // namespace vistrel::metadata
