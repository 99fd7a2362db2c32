#include "browser/list_colours.h"

#include <algorithm>
#include <cmath>

namespace vistrel::browser {
namespace {

using options::Colour;

constexpr double kReadable = 4.5;

double linear(unsigned channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Colour colour) {
  return 0.2126 * linear(colour & 0xFF) + 0.7152 * linear((colour >> 8) & 0xFF) + 0.0722 * linear((colour >> 16) & 0xFF);
}

}  // namespace

double contrastRatio(Colour a, Colour b) {
  const double x = luminance(a), y = luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

Colour readableTextColour(Colour wanted, Colour background) {
  if (contrastRatio(wanted, background) >= kReadable) return wanted;
  const Colour black = options::rgb(0, 0, 0), white = options::rgb(255, 255, 255);
  return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

}  // namespace vistrel::browser
