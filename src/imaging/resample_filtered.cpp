#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/bitmap_filters.h"

namespace vistrel::imaging {
namespace {

struct Contributor {
  int index;
  int weight;
};
using ContributorList = std::vector<std::vector<Contributor>>;

float sinc(float x) {
  if (x == 0.0f) return 1.0f;
  const float px = 3.14159265358979f * x;
  return std::sin(px) / px;
}

// Source index of tap j, mirrored at both edges.
int mirrored(int j, int size) {
  if (j < 0) j = -j;
  if (j >= size) j = 2 * size - 1 - j;
  return std::clamp(j, 0, size - 1);
}

// Weights of every target pixel of one pass, computed once per pass.
ContributorList contributors(int targetSize, int sourceSize, float scale, ResampleFilter filter, float radius) {
  ContributorList list(static_cast<std::size_t>(targetSize));
  const bool reducing = scale < 1.0f;
  const float support = reducing ? radius / scale : radius;
  for (int i = 0; i < targetSize; ++i) {
    const float centre = static_cast<float>(i) / scale;
    const int first = static_cast<int>(std::floor(centre - support));
    const int last = static_cast<int>(std::ceil(centre + support));
    for (int j = first; j <= last; ++j) {
      const float x = centre - static_cast<float>(j);
      const float value = reducing ? FilterValue(filter, x * scale) * scale : FilterValue(filter, x);
      const int weight = static_cast<int>(std::nearbyint(value * 256.0f));
      if (weight != 0) list[static_cast<std::size_t>(i)].push_back({mirrored(j, sourceSize), weight});
    }
  }
  return list;
}

std::uint8_t weighted(const std::vector<Contributor>& taps, const std::uint8_t* values, int step) {
  long long sum = 0;
  int weights = 0;
  for (const Contributor& tap : taps) {
    sum += tap.weight * values[static_cast<std::ptrdiff_t>(tap.index) * step];
    weights += tap.weight;
  }
  const long long value = weights != 0 ? sum / weights : static_cast<long long>(static_cast<std::uint32_t>(sum) >> 8);
  return static_cast<std::uint8_t>(std::clamp<long long>(value, 0, 255));
}

float scaleOf(int target, int source) {
  if (target == 1 || source == 1) return static_cast<float>(target) / static_cast<float>(source);
  return static_cast<float>(target - 1) / static_cast<float>(source - 1);
}

}  // namespace

float FilterRadius(ResampleFilter filter) {
  constexpr float kRadius[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
  return kRadius[static_cast<int>(filter)];
}

float FilterValue(ResampleFilter filter, float x) {
  const float t = std::fabs(x);
  switch (filter) {
    case ResampleFilter::Box:
      return x > -0.5f && x <= 0.5f ? 1.0f : 0.0f;
    case ResampleFilter::Triangle:
      return t < 1.0f ? 1.0f - t : 0.0f;
    case ResampleFilter::Hermite:
      return t < 1.0f ? (2.0f * t - 3.0f) * t * t + 1.0f : 0.0f;
    case ResampleFilter::Bell:
      if (t < 0.5f) return 0.75f - t * t;
      if (t < 1.5f) return 0.5f * (t - 1.5f) * (t - 1.5f);
      return 0.0f;
    case ResampleFilter::Spline:
      if (t < 1.0f) return 0.5f * t * t * t - t * t + 2.0f / 3.0f;
      if (t < 2.0f) return (2.0f - t) * (2.0f - t) * (2.0f - t) / 6.0f;
      return 0.0f;
    case ResampleFilter::Lanczos3:
      return t < 3.0f ? sinc(x) * sinc(x / 3.0f) : 0.0f;
    case ResampleFilter::Mitchell:
      if (t < 1.0f) return (7.0f * t * t * t - 12.0f * t * t + 16.0f / 3.0f) / 6.0f;
      if (t < 2.0f) return (-(7.0f / 3.0f) * t * t * t + 12.0f * t * t - 20.0f * t + 32.0f / 3.0f) / 6.0f;
      return 0.0f;
  }
  return 0.0f;
}

void ResampleFiltered(int width, int height, ResampleFilter filter, float radius, const TBitmap& source,
                      TBitmap& target) {
  target.SetSize(std::max(width, 0), std::max(height, 0));
  if (source.Empty() || target.Empty()) return;
  // An index from a damaged settings file must not pick a filter that is not there.
  if (static_cast<unsigned>(filter) >= kResampleFilterNames.size()) filter = ResampleFilter::Box;
  if (radius == 0.0f) radius = FilterRadius(filter);

  // Horizontal pass into a work picture of the target's width.
  TBitmap work(width, source.Height());
  const ContributorList columns =
      contributors(width, source.Width(), scaleOf(width, source.Width()), filter, radius);
  for (int y = 0; y < source.Height(); ++y) {
    const std::uint8_t* in = source.ScanLine(y);
    std::uint8_t* out = work.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) out[3 * x + c] = weighted(columns[static_cast<std::size_t>(x)], in + c, 3);
    }
  }

  // Vertical pass, column by column of the work picture.
  const ContributorList rows = contributors(height, source.Height(), scaleOf(height, source.Height()), filter, radius);
  const int stride = work.Stride();
  for (int y = 0; y < height; ++y) {
    std::uint8_t* out = target.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) {
        out[3 * x + c] = weighted(rows[static_cast<std::size_t>(y)], work.Bits() + 3 * x + c, stride);
      }
    }
  }
}

}  // namespace vistrel::imaging
