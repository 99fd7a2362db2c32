#include "imaging/orientation.h"

#include <cstddef>
#include <cstring>

namespace vistrel::imaging {
namespace {

// Where stored pixel (x, y) lands: X = ax·x + ay·y + cx, Y = bx·x + by·y + cy,
// with the constants counted in units of the last column or row.
struct Placement {
  int ax, ay, cxLastColumn, cxLastRow;
  int bx, by, cyLastColumn, cyLastRow;
};

constexpr Placement kPlacements[8] = {
    {1, 0, 0, 0, 0, 1, 0, 0},    // 1: as stored
    {-1, 0, 1, 0, 0, 1, 0, 0},   // 2: mirrored left to right
    {-1, 0, 1, 0, 0, -1, 0, 1},  // 3: turned half round
    {1, 0, 0, 0, 0, -1, 0, 1},   // 4: mirrored top to bottom
    {0, 1, 0, 0, 1, 0, 0, 0},    // 5: rows become columns
    {0, -1, 0, 1, 1, 0, 0, 0},   // 6: turned a quarter clockwise
    {0, -1, 0, 1, -1, 0, 1, 0},  // 7: rows become columns, both reversed
    {0, 1, 0, 0, -1, 0, 1, 0},   // 8: turned a quarter anticlockwise
};

template <int BytesPerPixel>
void place(const std::uint8_t* source, int width, int height, std::ptrdiff_t sourceStride, std::uint8_t* origin,
           std::ptrdiff_t stepX, std::ptrdiff_t stepY) {
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = source + y * sourceStride;
    std::uint8_t* out = origin + y * stepY;
    for (int x = 0; x < width; ++x, in += BytesPerPixel, out += stepX) std::memcpy(out, in, BytesPerPixel);
  }
}

}  // namespace

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

void OrientPixels(const std::uint8_t* source, int width, int height, int sourceStride, int bytesPerPixel,
                  int orientation, std::uint8_t* target, int targetStride) {
  if (width <= 0 || height <= 0) return;
  const Placement& p = kPlacements[orientation >= 1 && orientation <= 8 ? orientation - 1 : 0];
  const std::ptrdiff_t pixel = bytesPerPixel, row = targetStride;
  const std::ptrdiff_t cx = p.cxLastColumn * (width - 1) + p.cxLastRow * (height - 1);
  const std::ptrdiff_t cy = p.cyLastColumn * (width - 1) + p.cyLastRow * (height - 1);
  std::uint8_t* origin = target + cy * row + cx * pixel;
  const std::ptrdiff_t stepX = p.bx * row + p.ax * pixel, stepY = p.by * row + p.ay * pixel;
  switch (bytesPerPixel) {
    case 1: place<1>(source, width, height, sourceStride, origin, stepX, stepY); break;
    case 2: place<2>(source, width, height, sourceStride, origin, stepX, stepY); break;
    case 3: place<3>(source, width, height, sourceStride, origin, stepX, stepY); break;
    default: place<4>(source, width, height, sourceStride, origin, stepX, stepY); break;
  }
}

TBitmap OrientBitmap(const TBitmap& picture, int orientation) {
  const bool swaps = OrientationSwapsSides(orientation);
  TBitmap upright(swaps ? picture.Height() : picture.Width(), swaps ? picture.Width() : picture.Height());
  OrientPixels(picture.Bits(), picture.Width(), picture.Height(), picture.Stride(), 3, orientation, upright.Bits(),
               upright.Stride());
  return upright;
}

RgbPicture orientedPicture(const RgbPicture& picture, int orientation) {
  const bool swaps = OrientationSwapsSides(orientation);
  RgbPicture upright(swaps ? picture.height : picture.width, swaps ? picture.width : picture.height);
  OrientPixels(picture.pixels.data(), picture.width, picture.height, picture.width * 3, 3, orientation,
               upright.pixels.data(), upright.width * 3);
  return upright;
}

}  // namespace vistrel::imaging
