#include "browser/thumbnail_geometry.h"

#include <algorithm>
#include <cstdint>

namespace vistrel::browser {
namespace {

constexpr int kCacheSide = kCachePictureSide;
constexpr int kFrame = 3;

// n / d rounded to the nearest integer, halves to even (d > 0, n >= 0).
int roundHalfEven(std::int64_t n, std::int64_t d) {
  const std::int64_t quotient = n / d, twiceRest = 2 * (n % d);
  if (twiceRest > d || (twiceRest == d && quotient % 2 == 1)) return static_cast<int>(quotient + 1);
  return static_cast<int>(quotient);
}

}  // namespace

Size cachePictureSize(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  // A strip thinner than 1/400 of its length would round to no rows at all,
  // which no JPEG can hold: it keeps one.
  if (height < width) return {kCacheSide, std::max(1, roundHalfEven(std::int64_t{kCacheSide} * height, width))};
  return {std::max(1, roundHalfEven(std::int64_t{kCacheSide} * width, height)), kCacheSide};
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
