#include "imaging/longer_side.h"

#include <algorithm>
#include <cstdint>

namespace vistrel::imaging {
namespace {

// n / d rounded to the nearest integer, halves to even (d > 0, n >= 0).
int roundHalfEven(std::int64_t n, std::int64_t d) {
  const std::int64_t quotient = n / d, twiceRest = 2 * (n % d);
  if (twiceRest > d || (twiceRest == d && quotient % 2 == 1)) return static_cast<int>(quotient + 1);
  return static_cast<int>(quotient);
}

}  // namespace

PictureSize sizeForLongerSide(int width, int height, int side) {
  if (width <= 0 || height <= 0) return {};
  if (height < width) return {side, std::max(1, roundHalfEven(std::int64_t{side} * height, width))};
  return {std::max(1, roundHalfEven(std::int64_t{side} * width, height)), side};
}

}  // namespace vistrel::imaging
