#include "imaging/bitmap_filters.h"

#include <gtest/gtest.h>

#include "picture_tools.h"

namespace vistrel::imaging {
namespace {

using test::bitmapOf;

// Grey values of a bitmap's first channel, row by row.
std::vector<int> greys(const TBitmap& bitmap) {
  std::vector<int> values;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) values.push_back(bitmap.ScanLine(y)[3 * x]);
  }
  return values;
}

TBitmap greyRow(std::initializer_list<std::uint8_t> values) {
  std::vector<std::uint8_t> rgb;
  for (std::uint8_t v : values) rgb.insert(rgb.end(), {v, v, v});
  return bitmapOf(static_cast<int>(values.size()), 1, rgb);
}

TEST(ResampleFiltered, TriangleHalvingUsesMirroredTaps) {
  // Scale (2-1)/(3-1) = 0.5: support 2, taps at 1/2 distance weigh 64, the
  // centre 128. Target 0 mirrors tap -1 onto source 1.
  TBitmap target;
  ResampleFiltered(2, 1, ResampleFilter::Triangle, 0, greyRow({0, 100, 200}), target);
  EXPECT_EQ(greys(target), (std::vector<int>{50, 175}));
}

TEST(ResampleFiltered, BoxCountsTheHalfPixelBeforeTheCentreOnly) {
  // Scale 2: target 1 lies at source 0.5, where Box takes x = 0.5 (source 0)
  // but not x = -0.5 (source 1).
  TBitmap target;
  ResampleFiltered(3, 1, ResampleFilter::Box, 0, greyRow({10, 90}), target);
  EXPECT_EQ(greys(target), (std::vector<int>{10, 10, 90}));
}

TEST(ResampleFiltered, EveryFilterKeepsAFlatPictureFlat) {
  TBitmap flat(9, 7);
  flat.Fill(40, 130, 220);
  for (int f = 0; f < 7; ++f) {
    TBitmap target;
    ResampleFiltered(4, 11, static_cast<ResampleFilter>(f), 0, flat, target);
    ASSERT_EQ(target.Width(), 4);
    ASSERT_EQ(target.Height(), 11);
    for (int y = 0; y < 11; ++y) {
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(target.ScanLine(y)[3 * x + 2], 40) << kResampleFilterNames[f];
        EXPECT_EQ(target.ScanLine(y)[3 * x], 220) << kResampleFilterNames[f];
      }
    }
  }
}

TEST(ResampleFiltered, OnePixelTargetAndEmptySizes) {
  TBitmap target;
  // Width 1: scale 1/3 instead of a division by zero.
  ResampleFiltered(1, 1, ResampleFilter::Lanczos3, 0, greyRow({30, 30, 30}), target);
  EXPECT_EQ(greys(target), (std::vector<int>{30}));
  ResampleFiltered(0, 5, ResampleFilter::Box, 0, greyRow({1, 2}), target);
  EXPECT_TRUE(target.Empty());
  ResampleFiltered(2, 2, ResampleFilter::Box, 0, TBitmap(), target);
  EXPECT_EQ(greys(target), (std::vector<int>{0, 0, 0, 0}));
}

TEST(ResampleFiltered, FilterValuesAtKnownPoints) {
  EXPECT_FLOAT_EQ(FilterValue(ResampleFilter::Hermite, 0.5f), 0.5f);
  EXPECT_FLOAT_EQ(FilterValue(ResampleFilter::Bell, 1.0f), 0.125f);
  EXPECT_FLOAT_EQ(FilterValue(ResampleFilter::Spline, 0.0f), 2.0f / 3.0f);
  EXPECT_FLOAT_EQ(FilterValue(ResampleFilter::Mitchell, 0.0f), 8.0f / 9.0f);
  EXPECT_NEAR(FilterValue(ResampleFilter::Lanczos3, 1.0f), 0.0f, 1e-6);
  EXPECT_NEAR(FilterValue(ResampleFilter::Lanczos3, 0.5f), 0.6079271f, 1e-5);
  EXPECT_EQ(FilterValue(ResampleFilter::Lanczos3, 3.0f), 0.0f);
}

TEST(ConvolveBitmap, SharpenChangesInteriorOnlyAndClamps) {
  // Centre 100 among 50s: (16*100 - 8*50) / 8 = 150. Border pixels stay.
  std::vector<std::uint8_t> rgb(27, 50);
  rgb[12] = rgb[13] = rgb[14] = 100;
  TBitmap bitmap = bitmapOf(3, 3, rgb);
  SharpenBitmap(bitmap);
  EXPECT_EQ(greys(bitmap), (std::vector<int>{50, 50, 50, 50, 150, 50, 50, 50, 50}));

  // A dark centre among 200s: (0 - 1600) / 8 is below 1 -> 0.
  std::vector<std::uint8_t> dark(27, 200);
  dark[12] = dark[13] = dark[14] = 0;
  TBitmap hole = bitmapOf(3, 3, dark);
  SharpenBitmap(hole);
  EXPECT_EQ(hole.ScanLine(1)[3], 0);  // -1600 / 8 -> below 1 -> 0
}

TEST(ConvolveBitmap, AsymmetricKernelReadsUpperRowFirstFromTheCopy) {
  // Kernel picks the upper-left neighbour only; the copy keeps earlier
  // results from feeding later pixels.
  TBitmap bitmap = bitmapOf(3, 3, {10, 10, 10, 20, 20, 20, 30, 30, 30,  //
                                   40, 40, 40, 50, 50, 50, 60, 60, 60,  //
                                   70, 70, 70, 80, 80, 80, 90, 90, 90});
  ConvolveBitmap(bitmap, {1, 0, 0, 0, 0, 0, 0, 0, 0}, 1);
  EXPECT_EQ(greys(bitmap), (std::vector<int>{10, 20, 30, 40, 10, 60, 70, 80, 90}));
}

TEST(ConvolveBitmap, TwoByTwoHasNoInteriorPixels) {
  const TBitmap original = bitmapOf(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  TBitmap bitmap = original;
  EXPECT_EQ(&SharpenBitmap(bitmap), &bitmap);
  EXPECT_EQ(bitmap, original);
}

}  // namespace
}  // namespace vistrel::imaging
