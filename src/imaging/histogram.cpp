#include "imaging/histogram.h"

#include <algorithm>
#include <cmath>

namespace vistrel::imaging {
namespace {

struct Rgb {
  std::uint8_t red, green, blue;
};

constexpr Rgb kGrid{0x80, 0x80, 0x80};

void setPixel(TBitmap& picture, int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return;
  std::uint8_t* pixel = picture.ScanLine(y) + x * 3;
  pixel[0] = colour.blue;
  pixel[1] = colour.green;
  pixel[2] = colour.red;
}

// A vertical line from y0 towards y1, without y1 itself, as a pen draws it.
void verticalLine(TBitmap& picture, int x, int y0, int y1, Rgb colour) {
  const int step = y1 < y0 ? -1 : 1;
  for (int y = y0; y != y1; y += step) setPixel(picture, x, y, colour);
}

void horizontalLine(TBitmap& picture, int y, int x0, int x1, Rgb colour) {
  for (int x = x0; x < x1; ++x) setPixel(picture, x, y, colour);
}

Rgb valueColour(HistogramPlane plane, int value) {
  const auto v = static_cast<std::uint8_t>(value);
  switch (plane) {
    case HistogramPlane::Red: return {v, 0, 0};
    case HistogramPlane::Green: return {0, v, 0};
    case HistogramPlane::Blue: return {0, 0, v};
    case HistogramPlane::Intensity: break;
  }
  return {v, v, v};
}

}  // namespace

void THistogram::Count(const TBitmap& picture, HistogramPlane plane) {
  counts_.fill(0);
  for (int y = picture.Height() - 1; y >= 0; --y) {
    const std::uint8_t* row = picture.ScanLine(y);
    for (int x = picture.Width() - 1; x >= 0; --x) {
      const std::uint8_t* bgr = row + x * 3;
      int value = 0;
      switch (plane) {
        case HistogramPlane::Intensity: value = (bgr[0] + bgr[1] + bgr[2]) / 3; break;
        case HistogramPlane::Red: value = bgr[2]; break;
        case HistogramPlane::Green: value = bgr[1]; break;
        case HistogramPlane::Blue: value = bgr[0]; break;
      }
      ++counts_[value];
    }
  }
}

std::int32_t THistogram::Largest() const { return *std::max_element(counts_.begin(), counts_.end()); }

void DrawHistogram(TBitmap& picture, const THistogram& histogram, HistogramPlane plane, std::uint32_t backgroundRgb) {
  const int largest = histogram.Largest();
  if (picture.Width() != kHistogramWidth || largest < 1) return;
  const int bottom = picture.Height();
  const Rgb background{static_cast<std::uint8_t>(backgroundRgb >> 16), static_cast<std::uint8_t>(backgroundRgb >> 8),
                       static_cast<std::uint8_t>(backgroundRgb)};
  for (int value = 0; value < 256; ++value) {
    // Rounded to nearest, halves to even, as the drawing code always did.
    const int height = static_cast<int>(std::nearbyint(double(bottom) * histogram[value] / largest));
    const int top = bottom - 1 - height;
    verticalLine(picture, value, bottom - 1, top, valueColour(plane, value));
    verticalLine(picture, value, top, 1, background);
  }
  for (int x = 0; x <= 250; x += 10) verticalLine(picture, x, bottom - 1, bottom - 1 - (x % 50 == 0 ? 8 : 4), kGrid);
  for (int i = 0; i < 5; ++i) horizontalLine(picture, bottom * i / 5, 0, picture.Width() - 1, kGrid);
}

}  // namespace vistrel::imaging
