#pragma once

#include <array>
#include <string_view>

#include "imaging/bitmap.h"

namespace vistrel::imaging {

// The filters of the two-pass resampler, in the order of the options list.
enum class ResampleFilter { Box, Triangle, Hermite, Bell, Spline, Lanczos3, Mitchell };
inline constexpr std::array<std::string_view, 7> kResampleFilterNames = {
    "Box", "Triangle", "Hermite", "Bell", "Spline", "Lanczos3", "Mitchell"};

// The filter's value at x and its own radius (single precision).
float FilterValue(ResampleFilter filter, float x);
float FilterRadius(ResampleFilter filter);

// Two-pass filtered resampling of source into target (which takes the given
// size). Integer weights (filter value x 256, rounded half to even), mirrored
// edges; the first and last source pixels map onto the first and last target
// pixels. A radius of 0 takes the filter's own. An empty source or target
// size leaves target sized but untouched.
void ResampleFiltered(int width, int height, ResampleFilter filter, float radius, const TBitmap& source,
                      TBitmap& target);

// 3x3 convolution of every pixel not on the border (row-order kernel, upper
// row first), divided by the divisor and clamped; border pixels stay.
void ConvolveBitmap(TBitmap& bitmap, const std::array<int, 9>& kernel, int divisor);
// ConvolveBitmap with -1 around 16, divisor 8.
TBitmap& SharpenBitmap(TBitmap& bitmap);

}  // namespace vistrel::imaging
