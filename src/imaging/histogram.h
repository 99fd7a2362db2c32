#pragma once

#include <array>
#include <cstdint>

#include "imaging/bitmap.h"

namespace vistrel::imaging {

// The channels a histogram counts, numbered as the histogram window's
// channel group lists them.
enum class HistogramPlane { Intensity = 0, Red = 1, Green = 2, Blue = 3 };

// The number of pixels of each value 0-255 in one plane of a picture. The
// intensity of a pixel is (red + green + blue) / 3, rounded down.
class THistogram {
 public:
  THistogram() = default;
  THistogram(const TBitmap& picture, HistogramPlane plane) { Count(picture, plane); }

  void Count(const TBitmap& picture, HistogramPlane plane);
  std::int32_t operator[](int value) const { return counts_[value]; }
  std::int32_t Largest() const;

 private:
  std::array<std::int32_t, 256> counts_{};
};

// The size of the picture the histogram is drawn into.
inline constexpr int kHistogramWidth = 256;
inline constexpr int kHistogramHeight = 129;

// Draws the histogram over `picture` (kHistogramWidth wide; nothing is drawn
// into any other width or for an empty histogram): for each value a line in
// the value's colour, as high as its count against the largest count, the rest
// of the column above it in `background`, then grey tick marks every 10 values
// and five grey horizontal lines. Lines end one pixel short of their end point.
void DrawHistogram(TBitmap& picture, const THistogram& histogram, HistogramPlane plane,
                   std::uint32_t backgroundRgb);

}  // namespace vistrel::imaging
