#include "imaging/dib_filters.h"

#include <gtest/gtest.h>

#include <cstring>

#include "picture_tools.h"

namespace vistrel::imaging {
namespace {

using test::greyDib;
using test::greyValues;
using Values = std::vector<std::uint8_t>;

TEST(ResampleBilinear, TwoByTwoToThreeByThreeGivesTheFixedPointValues) {
  // Steps are 65536/3 = 21845; every value below was worked out by hand from
  // the weights wa = 65536 - fy, wb = fy + 1 and the column split by fx.
  const TFastDIB source = greyDib(2, 2, {10, 20, 30, 40});
  TFastDIB result;
  result.SetSize(3, 3, 8);
  ResampleBilinear(source, result);
  EXPECT_EQ(greyValues(result), (Values{10, 13, 16, 16, 20, 23, 23, 26, 30}));
}

TEST(ResampleBilinear, SameSizeIsNotAnExactCopy) {
  // The last column is never reached and the row weights sum to 65537.
  const TFastDIB source = greyDib(3, 1, {0, 100, 255});
  TFastDIB result;
  result.SetSize(3, 1, 8);
  ResampleBilinear(source, result);
  // Columns map to 0, 0.667 and 1.333 of the source.
  EXPECT_EQ(greyValues(result), (Values{0, 66, 151}));
}

TEST(ResampleBilinear, ChannelsOf24And32BitsAreSeparateAndTheFourthByteIsLeft) {
  TFastDIB source;
  source.SetSize(2, 1, 32);
  const std::uint8_t pixels[] = {10, 20, 30, 99, 50, 60, 70, 99};
  std::copy(std::begin(pixels), std::end(pixels), source.Bits);
  TFastDIB result;
  result.SetSize(1, 1, 32);
  result.Bits[3] = 7;
  ResampleBilinear(source, result);
  // A single column maps to source column 0; one row: (65537 * v) >> 16 = v.
  EXPECT_EQ(Values(result.Bits, result.Bits + 4), (Values{10, 20, 30, 7}));

  TFastDIB wide;
  wide.SetSize(2, 1, 24);
  const std::uint8_t rgb[] = {0, 100, 200, 200, 100, 0};
  std::copy(std::begin(rgb), std::end(rgb), wide.Bits);
  TFastDIB narrow;
  narrow.SetSize(4, 1, 24);
  ResampleBilinear(wide, narrow);
  // Column step 16384: fx = 0, 16384, 32768, 49152.
  EXPECT_EQ(Values(narrow.Bits, narrow.Bits + 12), (Values{0, 100, 200, 50, 100, 150, 100, 100, 100, 150, 100, 50}));
}

TEST(ResampleBilinear, SixteenBitChannelsAreWidenedAndNarrowed) {
  TFastDIB source;
  source.SetSize(2, 1, 16);  // 5-5-5
  const std::uint16_t white = 0x7FFF, black = 0;
  std::memcpy(source.Bits, &black, 2);
  std::memcpy(source.Bits + 2, &white, 2);
  TFastDIB result;
  result.SetSize(2, 1, 16);
  ResampleBilinear(source, result);
  std::uint16_t second;
  std::memcpy(&second, result.Bits + 2, 2);
  // Column 1 maps to 0.5: channels 248/2 = 124, narrowed to 15 of 31.
  EXPECT_EQ(second, 15 | 15 << 5 | 15 << 10);
}

TEST(SharpenCross, DistanceOneWorksInPlaceRowByRow) {
  // Hand-computed: earlier rows are read after they were filtered, later rows
  // before; v = (10 P - four diagonals) / 6, truncated toward zero, clamped.
  TFastDIB dib = greyDib(3, 3, {10, 20, 30, 40, 50, 60, 70, 80, 90});
  SharpenCross(dib, 1);
  EXPECT_EQ(greyValues(dib), (Values{0, 11, 24, 39, 52, 65, 76, 88, 100}));
}

TEST(SharpenCross, DistanceZeroChangesNothing) {
  const Values values{0, 7, 255, 128, 3, 200};
  TFastDIB dib = greyDib(3, 2, values);
  SharpenCross(dib, 0);
  EXPECT_EQ(greyValues(dib), values);
}

TEST(FilterCross, ZeroWeightSumDividesByOne) {
  TFastDIB dib = greyDib(2, 1, {10, 20});
  FilterCross(dib, 1, 1, -1, 0, 0, 0);
  // x=0: 1*10 - 1*20 = -10 -> 0; x=1: left is the new 0, right itself: 0 - 20 -> 0.
  EXPECT_EQ(greyValues(dib), (Values{0, 0}));
}

TEST(ChannelTables, RampsAndEdgeAmounts) {
  ChannelTable ramp{};
  FillRamp(ramp, 0, 0, 255, 255);
  for (int k = 0; k < 256; ++k) EXPECT_EQ(ramp[k], k);

  EXPECT_EQ(ContrastTable(0), ramp);
  for (std::uint8_t v : ContrastTable(-128)) EXPECT_EQ(v, 128);
  EXPECT_EQ(ContrastTable(-255)[0], 255);
  EXPECT_EQ(ContrastTable(-255)[255], 1);
  for (std::uint8_t v : BrightnessTable(255)) EXPECT_EQ(v, 255);
  for (std::uint8_t v : BrightnessTable(-255)) EXPECT_EQ(v, 0);

  // Contrast 64: 0 below 64, a ramp of step 132104/65536 from 64 to 191,
  // 255 from 192 on.
  const ChannelTable contrast = ContrastTable(64);
  EXPECT_EQ(contrast[63], 0);
  EXPECT_EQ(contrast[64], 0);
  EXPECT_EQ(contrast[65], 2);
  EXPECT_EQ(contrast[128], 129);
  EXPECT_EQ(contrast[191], 255);
  EXPECT_EQ(contrast[192], 255);
  // From 128 on no ramp is drawn: a threshold at 256 - a.
  const ChannelTable threshold = ContrastTable(200);
  EXPECT_EQ(threshold[55], 0);
  EXPECT_EQ(threshold[56], 255);
}

TEST(ChannelTables, FillRampLeavesReversedAndEmptyRangesAlone) {
  ChannelTable table{};
  table.fill(9);
  FillRamp(table, 10, 0, 255, 10);
  FillRamp(table, 20, 0, 255, 5);
  for (std::uint8_t v : table) EXPECT_EQ(v, 9);
}

TEST(ChannelTables, ApplyMapsEachChannelOrThePalette) {
  TFastDIB dib;
  dib.SetSize(1, 1, 24);
  dib.Bits[0] = 10, dib.Bits[1] = 20, dib.Bits[2] = 30;
  Brightness(dib, 0, -255, 255);  // red unchanged, green to 0, blue to 255
  EXPECT_EQ(Values(dib.Bits, dib.Bits + 3), (Values{255, 0, 30}));

  TFastDIB indexed;
  indexed.SetSize(1, 1, 8);
  indexed.Palette()[0] = {10, 20, 30, 0};
  Contrast(indexed, -128, -128, -128);
  EXPECT_EQ(indexed.Palette()[0].rgbBlue, 128);
  EXPECT_EQ(indexed.Palette()[0].rgbRed, 128);
}

TEST(InvertPixels, InvertsEveryByteIncludingRowPadding) {
  TFastDIB dib;
  dib.SetSize(1, 2, 24);  // stride 4: one padding byte per row
  std::fill(dib.Bits, dib.Bits + dib.DataSize, 5);
  InvertPixels(dib);
  for (std::uint32_t i = 0; i < dib.DataSize; ++i) EXPECT_EQ(dib.Bits[i], 250);
}

}  // namespace
}  // namespace vistrel::imaging
