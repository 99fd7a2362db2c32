#include "imaging/histogram.h"

#include <gtest/gtest.h>

namespace vistrel::imaging {
namespace {

TBitmap filled(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  TBitmap picture(300, 200);
  picture.Fill(red, green, blue);
  return picture;
}

int sum(const THistogram& histogram) {
  int total = 0;
  for (int value = 0; value < 256; ++value) total += histogram[value];
  return total;
}

TEST(Histogram, CountsEachPlaneOfASample) {
  const TBitmap red = filled(255, 0, 0);
  EXPECT_EQ(THistogram(red, HistogramPlane::Intensity)[85], 60000);  // (255 + 0 + 0) / 3
  EXPECT_EQ(THistogram(red, HistogramPlane::Red)[255], 60000);
  EXPECT_EQ(THistogram(red, HistogramPlane::Green)[0], 60000);

  TBitmap mixed = filled(10, 20, 30);
  for (int x = 0; x < 100; ++x) mixed.ScanLine(7)[x * 3] = 200;  // a blue streak
  for (const HistogramPlane plane :
       {HistogramPlane::Intensity, HistogramPlane::Red, HistogramPlane::Green, HistogramPlane::Blue}) {
    EXPECT_EQ(sum(THistogram(mixed, plane)), 60000);
  }
  const THistogram blue(mixed, HistogramPlane::Blue);
  EXPECT_EQ(blue[200], 100);
  EXPECT_EQ(blue[30], 59900);
  EXPECT_EQ(blue.Largest(), 59900);
}

// The colour at (x, y) as 0xRRGGBB.
std::uint32_t at(const TBitmap& picture, int x, int y) {
  const std::uint8_t* p = picture.ScanLine(y) + x * 3;
  return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

TEST(Histogram, AUniformGreyDrawsOneFullLineAndTheBackgroundElsewhere) {
  TBitmap drawn(kHistogramWidth, kHistogramHeight);
  drawn.Fill(0xC0, 0xC0, 0xC0);
  DrawHistogram(drawn, THistogram(filled(77, 77, 77), HistogramPlane::Intensity), HistogramPlane::Intensity,
                0xD4D0C8);
  const int bottom = kHistogramHeight;
  for (int y = 1; y < bottom; ++y) {
    if (y == bottom / 5 || y == bottom * 2 / 5 || y == bottom * 3 / 5 || y == bottom * 4 / 5) continue;  // grid
    EXPECT_EQ(at(drawn, 77, y), 0x4D4D4Du) << "y " << y;
  }
  EXPECT_EQ(at(drawn, 78, 60), 0xD4D0C8u);  // an empty value shows the background
  EXPECT_EQ(at(drawn, 78, 1), 0xC0C0C0u);   // which stops below the top row but one
  EXPECT_EQ(at(drawn, 78, bottom - 1), 0xD4D0C8u);
  EXPECT_EQ(at(drawn, 50, bottom - 8), 0x808080u);  // long tick every 50
  EXPECT_EQ(at(drawn, 50, bottom - 9), 0xD4D0C8u);
  EXPECT_EQ(at(drawn, 60, bottom - 4), 0x808080u);  // short ticks between
  EXPECT_EQ(at(drawn, 60, bottom - 5), 0xD4D0C8u);
  EXPECT_EQ(at(drawn, 100, bottom * 2 / 5), 0x808080u);  // grid line
  EXPECT_EQ(at(drawn, 255, 0), 0xC0C0C0u);               // lines stop short of their end
}

TEST(Histogram, NothingIsDrawnIntoAnotherWidthOrForAnEmptySample) {
  TBitmap narrow(200, kHistogramHeight);
  narrow.Fill(1, 2, 3);
  const TBitmap before = narrow;
  DrawHistogram(narrow, THistogram(filled(9, 9, 9), HistogramPlane::Red), HistogramPlane::Red, 0);
  EXPECT_EQ(narrow, before);
  TBitmap empty(kHistogramWidth, kHistogramHeight);
  const TBitmap blank = empty;
  DrawHistogram(empty, THistogram(TBitmap(), HistogramPlane::Red), HistogramPlane::Red, 0);
  EXPECT_EQ(empty, blank);
}

}  // namespace
}  // namespace vistrel::imaging
