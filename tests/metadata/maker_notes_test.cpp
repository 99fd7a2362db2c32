#include <gtest/gtest.h>

#include "byte_order_name.h"
#include "maker_note_samples.h"
#include "metadata/img_data.h"
#include "metadata/maker_formatters.h"

namespace vistrel::metadata {
namespace {

using test::cameraBlock;
using test::exifSegment;
using test::jpegOf;
using test::makerNoteSamples;
using test::TiffWriter;

class MakerNoteSampleTest : public ::testing::TestWithParam<bool> {};

TEST_P(MakerNoteSampleTest, EveryMakersNoteIsListed) {
  for (const test::MakerNoteSample& sample : makerNoteSamples(GetParam())) {
    SCOPED_TRACE(sample.name);
    TimgData data;
    ASSERT_TRUE(data.ReadMetadataFromMemory(sample.jpeg, ".jpg"));
    EXPECT_EQ(data.ErrorText, "<none>");
    EXPECT_TRUE(data.Exif->MakerNoteResult);
    EXPECT_EQ(data.Exif->MakerNoteListing, sample.listing);
    // A note in another byte order leaves the block's own as it was.
    EXPECT_EQ(data.Exif->BigEndian, GetParam());
  }
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MakerNoteSampleTest, ::testing::Bool(), test::byteOrderName);

TEST(MakerNoteEntries, KnownRowsAndFormatterLinesJoinTheEntryList) {
  TimgData data;
  ASSERT_TRUE(data.ReadMetadataFromMemory(makerNoteSamples(true).front().jpeg, ".jpg"));
  const TImageInfo& exif = *data.Exif;
  const TTagEntry settings = exif.EntryOfName("ExposureInfo1");
  EXPECT_EQ(settings.TableId, 1);
  EXPECT_EQ(settings.Format, kShort);
  EXPECT_EQ(settings.DisplayText, "68, 1, 0, 1, 2, 1, 0, 0");
  EXPECT_EQ(settings.Size, 68);
  const TTagEntry macro = exif.EntryOfName("Macro mode");
  EXPECT_EQ(macro.TableId, 1);
  EXPECT_EQ(macro.Format, kAscii);
  EXPECT_EQ(macro.DisplayText, "Macro");
  EXPECT_EQ(macro.RawBytes, "Macro");
  EXPECT_EQ(exif.ValueOfName("ImageType"), std::string("IMG:PowerShot S40 JPEG\0", 23));
  EXPECT_EQ(exif.EntryOfName("Make").TableId, 0);
  // Neither the skipped row (0003) nor the unknown tag (0077) is an entry.
  for (const TTagEntry& entry : exif.Entries) {
    EXPECT_TRUE(entry.Tag != 0x0003 && entry.Tag != 0x0077) << entry.Name;
  }
}

struct MakeCase {
  std::string make;
  bool recognised;
};

TEST(MakerRecognition, ByTheFirstFiveLettersOfTheMakeInAnyCase) {
  for (const MakeCase& c : std::vector<MakeCase>{{"Nikon Corporation", true},
                                                 {"canon", true},
                                                 {"Minolta Co., Ltd.", true},
                                                 {"SEIKO EPSON", true},
                                                 {"Fuji", false},
                                                 {"Pentax", false},
                                                 {"", false}}) {
    SCOPED_TRACE(c.make);
    TiffWriter w(false);
    const std::string block =
        cameraBlock(w, c.make, "Model", "0210", [&](std::uint32_t at) { return w.directory({w.shortValue(0x0002, 3)}, at); });
    TimgData data;
    ASSERT_TRUE(data.ReadMetadataFromMemory(jpegOf({exifSegment(block)}), ".jpg"));
    EXPECT_EQ(data.Exif->MakerNoteResult, c.recognised);
    if (!c.recognised) {
      EXPECT_EQ(data.Exif->MakerNoteListing, "");
    }
  }
}

TEST(MakerRecognition, TiffFilesCountOffsetsFromTheirOwnHeader) {
  // A raw file of a D-series Nikon without an EXIF version has the newer
  // kind of note; a Canon note in a TIFF file counts from the file's header.
  for (const bool bigEndian : {false, true}) {
    const auto samples = makerNoteSamples(bigEndian);
    for (const std::size_t which : {0, 1}) {
      const test::MakerNoteSample& sample = samples[which];
      SCOPED_TRACE(sample.name + (bigEndian ? " MM" : " II"));
      TimgData fromJpeg;
      ASSERT_TRUE(fromJpeg.ReadMetadataFromMemory(sample.jpeg, ".jpg"));
      TiffWriter w(bigEndian);
      const std::string& note = fromJpeg.Exif->MakerNoteBytes;
      const std::string file = cameraBlock(w, fromJpeg.Exif->CameraMake, fromJpeg.Exif->CameraModel, "",
                                           [&](std::uint32_t) { return note; });
      TimgData data;
      ASSERT_TRUE(data.ReadMetadataFromMemory(file, ".nef"));
      EXPECT_TRUE(data.Exif->MakerNoteResult);
      EXPECT_EQ(data.Exif->MakerNoteListing, sample.listing);
    }
  }
}

struct TextCase {
  std::string in;
  std::string out;
};

TEST(MakerFormatters, NikonColourModeAndLensRange) {
  for (const TextCase& c : std::vector<TextCase>{{std::string("MODE1\0", 6), "Mode1 (sRGB)"},
                                                 {" MODE2", "Mode 2 (Adobe RGB)"},
                                                 {"MODE3a", "Mode 3 (sRGB): higher saturation"},
                                                 {"COLOR", "COLOR"},
                                                 {"MODE4 and more", "MODE4"},
                                                 {"", ""}}) {
    EXPECT_EQ(NikonColourModeText(c.in), c.out) << c.in;
  }
  EXPECT_EQ(NikonLensRangeText("180/10, 550/10, 35/10, 56/10"), "18.0-55.0(mm)  F3.5-F5.6");
  EXPECT_EQ(NikonLensRangeText("50/1, 50/1, 14/10"), "50.0-50.0(mm)  F1.4-F0.0");
}

std::string linesText(const std::vector<MakerLine>& lines) {
  std::string text;
  for (const MakerLine& line : lines) text += line.label + "=" + line.value + ";";
  return text;
}

TEST(MakerFormatters, CanonRecordsSkipTheirLengthAndEmptyValues) {
  EXPECT_EQ(linesText(CanonSettings1Lines("1, 2, 7")), "Macro mode=Normal;Self Timer=7;");
  EXPECT_EQ(linesText(CanonSettings1Lines("1, 0, 0, 9, 99")), "Self Timer=0;");
  EXPECT_EQ(linesText(CanonSettings2Lines("1, 0, 0, 0, 0, 0, 0, 6, 0, 12")), "White balance=Custom;Sequence Number=12;");
  // 0x0101: function 1, setting 1. Above 4095, function 0 and text are passed over.
  EXPECT_EQ(linesText(CanonCustomFunctionLines("257, 257, 0, 4097, x, 3841, 512")),
            "Noise Reduction=On;Shutter Release w/o CF Card=Disable;Shutter AE Lock Button=AF/AE lock;");
}

}  // namespace
}  // namespace vistrel::metadata
