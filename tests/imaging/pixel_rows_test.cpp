// The filters on pixel rows against plain renderings of their formulas, on
// random pictures of awkward sizes: the fast paths must never change a byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "imaging/dib_filters.h"
#include "imaging/pixel_rows.h"

namespace vistrel::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes randomBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
  return bytes;
}

// The cross filter exactly as it reads: every pixel in row-then-column order,
// written back at once, divided with truncation toward zero.
void referenceCross(const PixelRows& p, int d, const int (&w)[5]) {
  int g = w[0] + w[1] + w[2] + w[3] + w[4];
  if (g == 0) g = 1;
  const int last = p.height() - 1, lastColumn = p.width - 1, bytes = p.bytesPerPixel;
  const int channels = bytes == 1 ? 1 : 3;
  for (int n = 0; n <= last; ++n) {
    const std::uint8_t* e = p.rows[static_cast<std::size_t>(std::clamp(n - d, 0, last))];
    const std::uint8_t* l = p.rows[static_cast<std::size_t>(std::clamp(n + d, 0, last))];
    for (int x = 0; x <= lastColumn; ++x) {
      const int left = std::clamp(x - d, 0, lastColumn) * bytes, right = std::clamp(x + d, 0, lastColumn) * bytes;
      std::uint8_t* px = p.rows[static_cast<std::size_t>(n)] + x * bytes;
      for (int c = 0; c < channels; ++c) {
        const int v = w[0] * e[left + c] + w[1] * e[right + c] + w[2] * l[left + c] + w[3] * l[right + c] + w[4] * px[c];
        px[c] = static_cast<std::uint8_t>(std::clamp(v / g, 0, 255));
      }
    }
  }
}

struct Size {
  int width, height;
};
constexpr Size kSizes[] = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {5, 3}, {7, 7}, {31, 6}, {64, 17}};

TEST(FilterCrossOnRows, MatchesTheInPlaceFormulaForEveryWeightSetSizeAndDistance) {
  // Sharpening, soft and negative sums, a zero sum, and divisors beyond the
  // multiply's range (which must take the plain division).
  const int weightSets[][5] = {{1, 1, 1, 1, -10}, {1, 1, 1, 1, 4},    {2, 1, 1, 2, 1},   {-1, -1, -1, -1, 1},
                               {1, -1, 0, 0, 0},  {0, 0, 0, 0, 128},  {0, 0, 0, 0, -128}, {3, 5, 7, 11, 103},
                               {100, 100, 100, 100, -10}, {-3, 2, -1, 4, -9}};
  unsigned seed = 1;
  for (const int bytes : {1, 3, 4}) {
    for (const Size size : kSizes) {
      for (int distance = 0; distance <= 5; ++distance) {
        for (const auto& w : weightSets) {
          const std::size_t stride = static_cast<std::size_t>(size.width * bytes);
          Bytes fast = randomBytes(stride * static_cast<std::size_t>(size.height), ++seed);
          Bytes expected = fast;
          FilterCross(bottomUpRows(fast.data(), size.width, size.height, bytes), distance, w[0], w[1], w[2], w[3], w[4]);
          referenceCross(bottomUpRows(expected.data(), size.width, size.height, bytes), distance, w);
          ASSERT_EQ(fast, expected) << bytes << " bytes, " << size.width << "x" << size.height << ", distance "
                                    << distance << ", weights " << w[0] << " " << w[4];
        }
      }
    }
  }
}

TEST(FilterCrossOnRows, FourthByteOfWidePixelsIsLeftAlone) {
  Bytes pixels = randomBytes(4 * 8 * 6, 7);
  const Bytes before = pixels;
  SharpenCross(bottomUpRows(pixels.data(), 8, 6, 4), 1);
  for (std::size_t i = 3; i < pixels.size(); i += 4) ASSERT_EQ(pixels[i], before[i]) << i;
}

// The same picture in a padded bottom-up TFastDIB and as packed top-down rows
// walked from the last: every kernel must give the same pixels either way.
TFastDIB dibOf(const Bytes& packed, int width, int height) {
  TFastDIB dib;
  dib.SetSize(width, height, 24);
  for (int y = 0; y < height; ++y) {
    std::copy_n(packed.begin() + static_cast<long>(y) * width * 3, width * 3,
                dib.Rows[static_cast<std::size_t>(height - 1 - y)]);
  }
  return dib;
}

Bytes packedOf(const TFastDIB& dib) {
  Bytes packed;
  for (int y = dib.AbsHeight - 1; y >= 0; --y) {
    const std::uint8_t* row = dib.Rows[static_cast<std::size_t>(y)];
    packed.insert(packed.end(), row, row + dib.Width * 3);
  }
  return packed;
}

TEST(PixelRows, KernelsOnPackedRowsMatchTheBottomUpBuffer) {
  const int width = 37, height = 23, toWidth = 13, toHeight = 9;  // odd widths: padded DIB rows
  const Bytes source = randomBytes(static_cast<std::size_t>(width * height * 3), 11);

  TFastDIB dibSource = dibOf(source, width, height), dibResult;
  dibResult.SetSize(toWidth, toHeight, 24);
  ResampleBilinear(dibSource, dibResult);
  SharpenCross(dibResult, 2);
  Contrast(dibResult, 40, 40, 40);
  InvertPixels(dibResult);

  Bytes result(static_cast<std::size_t>(toWidth * toHeight * 3));
  const PixelRows rows = bottomUpRows(result.data(), toWidth, toHeight, 3);
  ResampleBilinear(bottomUpRows(source.data(), width, height, 3), rows);
  SharpenCross(rows, 2);
  Contrast(rows, 40, 40, 40);
  InvertPixels(rows);
  EXPECT_EQ(result, packedOf(dibResult));
}

TEST(PixelRows, ResamplingBetweenDepthsLeavesTheResultAlone) {
  // A narrow source read as wide pixels would be read far past its rows.
  TFastDIB grey, colour;
  grey.SetSize(4, 4, 8);
  colour.SetSize(40, 40, 24);
  std::fill_n(colour.Bits, colour.DataSize, std::uint8_t{7});
  ResampleBilinear(grey, colour);
  EXPECT_TRUE(std::all_of(colour.Bits, colour.Bits + colour.DataSize, [](std::uint8_t b) { return b == 7; }));
}

TEST(PixelRows, BuffersOfOtherDepthsGiveNoRows) {
  TFastDIB dib;
  dib.SetSize(4, 4, 16);
  EXPECT_EQ(rowsOf(dib).height(), 0);
  dib.SetSize(4, 4, 32);
  EXPECT_EQ(rowsOf(dib).height(), 4);
  EXPECT_EQ(rowsOf(dib).bytesPerPixel, 4);
}

}  // namespace
}  // namespace vistrel::imaging
