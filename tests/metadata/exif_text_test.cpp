#include <gtest/gtest.h>

#include "byte_order_name.h"
#include "exif_builder.h"
#include "metadata/exif_formatters.h"
#include "metadata/exif_text.h"
#include "metadata/tag_entry.h"
#include "metadata/tag_tables.h"

namespace vistrel::metadata {
namespace {

using test::TiffWriter;

class FormatComponentsTest : public ::testing::TestWithParam<bool> {
 protected:
  TiffWriter w{GetParam()};
  std::string format(const std::string& raw, std::uint16_t type, const char* list = "", const char* fmt = "") {
    return FormatComponents(raw, type, list, fmt, GetParam());
  }
};

TEST_P(FormatComponentsTest, IntegersAreUnsignedButKeptInThirtyTwoBits) {
  EXPECT_EQ(format(w.u16(65535), kShort), "65535");
  EXPECT_EQ(format(w.u16(65535), kSShort), "65535");
  EXPECT_EQ(format(w.u32(4294967295u), kLong), "-1");
  EXPECT_EQ(format(std::string(20, '\x07'), kByte), "7, 7, 7, 7, 7, 7, 7, 7");
}

TEST_P(FormatComponentsTest, RationalsAreShownUnreducedAndFormatted) {
  EXPECT_EQ(format(w.u32(10) + w.u32(1250), kRational, "", "%s"), "10/1250");
  EXPECT_EQ(format(w.u32(5) + w.u32(0), kRational), "5/0");
  EXPECT_EQ(NumericValueOf(w.u32(5) + w.u32(0), kRational, GetParam()), 0.0);
  EXPECT_EQ(format(w.u32(28) + w.u32(10), kRational, "", "f/%0.1f"), "f/2.8");
  EXPECT_EQ(format(w.u32(74) + w.u32(10), kRational, "", "%5.2f"), " 7.40");
  EXPECT_EQ(format(w.u32(static_cast<std::uint32_t>(-7)) + w.u32(2), kSRational), "-7/2");
}

TEST_P(FormatComponentsTest, DecodeListsTurnNumbersIntoWords) {
  EXPECT_EQ(format(w.u16(3), kShort, "6:Jpeg,3:Uncompressed,1:TIFF"), "Uncompressed");
  EXPECT_EQ(format(w.u16(5), kShort, "1:Normal,3:Rotated 180"), "");
}

TEST_P(FormatComponentsTest, TextsAndUnknownTypesShowPlaceholders) {
  EXPECT_EQ(format("ab", kAscii), "?, ?");
  EXPECT_EQ(format("abcd", 13), "0");
  EXPECT_EQ(format(std::string(4, '\0'), kFloat), "-9999.99");
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, FormatComponentsTest, ::testing::Values(false, true),
                         test::byteOrderName);

TEST(ExifText, DecodeValueMatchesWholeValues) {
  EXPECT_EQ(DecodeValue("1:a,11:b", "11"), "b");
  EXPECT_EQ(DecodeValue("1:a,11:b", " 1 "), "a");
  EXPECT_EQ(DecodeValue("1:a,11:b", "2"), "");
}

TEST(ExifText, FractionValueReadsMixedNumbersAndRefusesTheRest) {
  EXPECT_DOUBLE_EQ(FractionValue("7/2"), 3.5);
  EXPECT_DOUBLE_EQ(FractionValue(" 1 1/2 "), 1.5);
  EXPECT_EQ(FractionValue("1/0"), 0.0);
  EXPECT_EQ(FractionValue("abc"), 0.0);
  EXPECT_EQ(FractionValue("7"), 0.0);
}

TEST(ExifText, PrintableAndHexTextsAreCut) {
  EXPECT_EQ(PrintableText(std::string("a\x01\n", 3)), "a..");
  EXPECT_EQ(PrintableText(std::string(80, 'x')).size(), 50u);
  EXPECT_EQ(HexText("JF"), "4A 46 ");
  EXPECT_TRUE(HexText(std::string(17, '\xff')).ends_with("FF ..."));
}

TEST(ExifText, SpacedNameSeparatesWordsButNotCapitalRuns) {
  EXPECT_EQ(SpacedName("ExposureTime"), "Exposure Time");
  EXPECT_EQ(SpacedName("ISOSpeedRatings"), "ISOSpeed Ratings");
  EXPECT_EQ(SpacedName("FNumber"), "FNumber");
  EXPECT_EQ(SpacedName("YCbCrPositioning"), "YCb Cr Positioning");
}

TEST(ExifText, TablesHaveTheirRowsAndLabels) {
  EXPECT_EQ(MainTagTable().size(), 250u);
  EXPECT_EQ(GpsTagTable().size(), 31u);
  EXPECT_EQ(FindTagRow(MainTagTable(), 0x829A).Label, "Exposure Time");
  EXPECT_EQ(FindTagRow(MainTagTable(), 0xA405).Label, "Focal Length in 35mm Film");
  EXPECT_EQ(FindTagRow(MainTagTable(), 0x1234).Label, "Unknown");
  EXPECT_EQ(FindTagRowByName("focallengthin35mmfilm").Tag, 0xA405);
  EXPECT_EQ(ComponentSize(5), 8);
  EXPECT_EQ(ComponentSize(13), 0);
}

struct FormatterCase {
  TagFormatter formatter;
  std::string input;
  std::string expected;
};

class FormatterTest : public ::testing::TestWithParam<FormatterCase> {};

TEST_P(FormatterTest, GivesTheListingText) { EXPECT_EQ(GetParam().formatter(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Rules, FormatterTest,
    ::testing::Values(FormatterCase{ShutterSpeedText, "7/1", "0.0078 sec (1/128)"},
                      FormatterCase{ShutterSpeedText, "0/1", "1.0000 sec"},
                      // A hostile APEX value must not overflow the reciprocal.
                      FormatterCase{ShutterSpeedText, "2000000000/1", "0.0000 sec"},
                      FormatterCase{FlashText, "89", "On, auto mode, red-eye reduction"},
                      FormatterCase{FlashText, "16", "Off, surpressed"},
                      FormatterCase{FlashText, "7", "On, strobe return"},
                      FormatterCase{ComponentLettersText, std::string("\"\x01\x02\x03\x00\"", 6), "YCbCr"},
                      FormatterCase{WithoutCharacterCodeText, "ASCII...hello", "hello"},
                      FormatterCase{EveryOtherCharacterText, "84, 0, 101, 0, 115, 0, 116, 0", "Test"},
                      FormatterCase{DegreesText, "48/1, 30/1, 15/1", "48 Degrees 30 Minutes 15 Seconds"},
                      FormatterCase{DegreesText, "48/1, 305/10, 0/1", "48 Degrees 30 Minutes 30 Seconds"},
                      FormatterCase{DegreesText, "", "0 Degrees 0 Minutes 0 Seconds"},
                      FormatterCase{TimeText, "13/1, 5/1, 9/1", "13:5:9"}));

}  // namespace
}  // namespace vistrel::metadata
