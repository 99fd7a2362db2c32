#include "imaging/orientation.h"

#include <gtest/gtest.h>

#include <vector>

namespace vistrel::imaging {
namespace {

// The stored picture, one byte per pixel:   1 2 3
//                                           4 5 6
// and each value's upright picture, row by row, as the camera was held.
struct Case {
  int orientation;
  int width, height;
  std::vector<std::uint8_t> upright;
};

const Case kCases[] = {
    {1, 3, 2, {1, 2, 3, 4, 5, 6}},  // as stored
    {2, 3, 2, {3, 2, 1, 6, 5, 4}},  // mirrored
    {3, 3, 2, {6, 5, 4, 3, 2, 1}},  // upside down
    {4, 3, 2, {4, 5, 6, 1, 2, 3}},  // mirrored upside down
    {5, 2, 3, {1, 4, 2, 5, 3, 6}},  // transposed
    {6, 2, 3, {4, 1, 5, 2, 6, 3}},  // held turned a quarter: the stored top row is the right edge
    {7, 2, 3, {6, 3, 5, 2, 4, 1}},  // transverse
    {8, 2, 3, {3, 6, 2, 5, 1, 4}},  // the stored top row is the left edge, read upwards
    {0, 3, 2, {1, 2, 3, 4, 5, 6}},  // no valid value: as stored
};

TEST(Orientation, EachValueTurnsThePictureAsTheCameraWasHeld) {
  const std::vector<std::uint8_t> stored{1, 2, 3, 4, 5, 6};
  for (const Case& c : kCases) {
    std::vector<std::uint8_t> upright(6, 0);
    OrientPixels(stored.data(), 3, 2, 3, 1, c.orientation, upright.data(), c.width);
    EXPECT_EQ(upright, c.upright) << "orientation " << c.orientation;
    EXPECT_EQ(OrientationSwapsSides(c.orientation), c.width == 2) << "orientation " << c.orientation;
  }
}

TEST(Orientation, BitmapsKeepWholePixelsAndSwapTheirSides) {
  TBitmap picture(3, 2);
  picture.Fill(0, 0, 0);
  picture.ScanLine(0)[0] = 10;  // blue of the top left pixel
  picture.ScanLine(0)[2] = 20;  // red of the top left pixel
  const TBitmap upright = OrientBitmap(picture, 6);
  ASSERT_EQ(upright.Width(), 2);
  ASSERT_EQ(upright.Height(), 3);
  const std::uint8_t* topRight = upright.ScanLine(0) + 3;
  EXPECT_EQ(topRight[0], 10);
  EXPECT_EQ(topRight[2], 20);
}

}  // namespace
}  // namespace vistrel::imaging
