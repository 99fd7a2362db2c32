#include "browser/thumbnail_geometry.h"

#include <cstdint>

#include "imaging/longer_side.h"

namespace vistrel::browser {
namespace {

constexpr int kCacheSide = 200;
constexpr int kFrame = 3;

}  // namespace

Size cachePictureSize(int width, int height) {
  const imaging::PictureSize size = imaging::sizeForLongerSide(width, height, kCacheSide);
  return {size.width, size.height};
}

Rect thumbnailFitRect(int width, int height, int side) {
  const Rect inner{kFrame, kFrame, side - kFrame, side - kFrame};
  if (width <= 0 || height <= 0 || width == height) return inner;
  if (height < width) {
    const int dh = static_cast<int>(std::int64_t{height} * inner.right / width);
    const int top = (inner.bottom - dh) / 2 + 1;
    return {inner.left, top, inner.right, top + dh};
  }
  const int dw = static_cast<int>(std::int64_t{width} * inner.bottom / height);
  const int left = (inner.right - dw) / 2 + 1;
  return {left, inner.top, left + dw, inner.bottom};
}

}  // namespace vistrel::browser
