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

// The weights of all taps of one target pixel together; their sum is the divisor.
int totalOf(const std::vector<Contributor>& taps) {
  int total = 0;
  for (const Contributor& tap : taps) total += tap.weight;
  return total;
}

// sum / total truncated toward zero, clamped to a byte. The division is done
// in single precision, which gives exactly the integer quotient: both numbers
// are exact in a float (a sum stays far below 2^24, as no pixel has more than
// a few thousand of weight), and a quotient that is not a whole number lies at
// least 1 / total away from one, more than the rounding error. Without
// weights the sum's low byte is dropped instead, as it always was.
std::uint8_t quotient(int sum, int total) {
  const int value = total != 0 ? static_cast<int>(static_cast<float>(sum) / static_cast<float>(total))
                               : static_cast<int>(static_cast<std::uint32_t>(sum) >> 8);
  return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// The quotients of a row of sums, each by its own divisor: a loop along
// memory that vectorises, divisions included, unless a pixel has no weights.
void divideRow(const std::vector<int>& sums, const std::vector<int>& totals, bool anyWithoutWeights,
               std::uint8_t* out) {
  const std::size_t count = sums.size();
  if (anyWithoutWeights) {
    for (std::size_t i = 0; i < count; ++i) out[i] = quotient(sums[i], totals[i]);
    return;
  }
  const int* __restrict sum = sums.data();
  const int* __restrict total = totals.data();
  std::uint8_t* __restrict result = out;
  for (std::size_t i = 0; i < count; ++i) {
    const int value = static_cast<int>(static_cast<float>(sum[i]) / static_cast<float>(total[i]));
    result[i] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  }
}

// The divisors of a row of target values: each pixel's total weight, once
// for each channel.
struct RowDivisors {
  std::vector<int> totals;
  bool anyWithoutWeights = false;

  explicit RowDivisors(std::size_t values) : totals(values) {}
  void setAll(int total) {
    std::fill(totals.begin(), totals.end(), total);
    anyWithoutWeights = total == 0;
  }
  void setPerPixel(const ContributorList& columns) {
    for (std::size_t i = 0; i < totals.size(); ++i) totals[i] = totalOf(columns[i / 3]);
    anyWithoutWeights = std::find(totals.begin(), totals.end(), 0) != totals.end();
  }
};

// One row: each target pixel from its taps along the source row.
void filterRow(const std::uint8_t* in, std::uint8_t* out, const ContributorList& columns, const RowDivisors& divisors,
               std::vector<int>& sums) {
  for (std::size_t x = 0; x < columns.size(); ++x) {
    int blue = 0, green = 0, red = 0;
    for (const Contributor& tap : columns[x]) {
      const std::uint8_t* pixel = in + 3 * static_cast<std::ptrdiff_t>(tap.index);
      blue += tap.weight * pixel[0];
      green += tap.weight * pixel[1];
      red += tap.weight * pixel[2];
    }
    sums[3 * x] = blue;
    sums[3 * x + 1] = green;
    sums[3 * x + 2] = red;
  }
  divideRow(sums, divisors.totals, divisors.anyWithoutWeights, out);
}

// One target row from whole rows of the work picture, summed a row at a time
// so that the loops run along memory.
void filterColumnsIntoRow(const TBitmap& work, const std::vector<Contributor>& taps, std::vector<int>& sums,
                          RowDivisors& divisors, std::uint8_t* out) {
  std::fill(sums.begin(), sums.end(), 0);
  const std::size_t count = sums.size();
  for (const Contributor& tap : taps) {
    const std::uint8_t* in = work.ScanLine(tap.index);
    const int weight = tap.weight;
    for (std::size_t i = 0; i < count; ++i) sums[i] += weight * in[i];
  }
  divisors.setAll(totalOf(taps));
  divideRow(sums, divisors.totals, divisors.anyWithoutWeights, out);
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
  std::vector<int> sums(static_cast<std::size_t>(width) * 3);
  RowDivisors divisors(sums.size());
  divisors.setPerPixel(columns);
  for (int y = 0; y < source.Height(); ++y) filterRow(source.ScanLine(y), work.ScanLine(y), columns, divisors, sums);

  // Vertical pass.
  const ContributorList rows = contributors(height, source.Height(), scaleOf(height, source.Height()), filter, radius);
  for (int y = 0; y < height; ++y) {
    filterColumnsIntoRow(work, rows[static_cast<std::size_t>(y)], sums, divisors, target.ScanLine(y));
  }
}

}  // namespace vistrel::imaging
