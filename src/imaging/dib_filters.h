#pragma once

#include <array>
#include <cstdint>

#include "imaging/fast_dib.h"
#include "imaging/pixel_rows.h"

namespace vistrel::imaging {

// Scaling and filters on TFastDIB buffers. They work on the rows in memory
// order (bottom-up for a positive Height) and give bit-exact results; the
// gallery uses them on 24-bit buffers. Each also takes the rows of any
// 8-, 24- or 32-bit picture as PixelRows, processed in the order given: that
// is the form they are written in, and a TFastDIB's memory order is one case.

// Fills the already sized result from the source (same bit depth) in 16.16
// fixed point. Row weights sum to 65537, so even a same-size copy is not exact.
// Depths 8, 16, 24 and 32; other depths do nothing.
void ResampleBilinear(const TFastDIB& source, TFastDIB& result);
void ResampleBilinear(const ConstPixelRows& source, const PixelRows& result);

// Five-tap filter in place: the four corners at the given distance (earlier
// row left, earlier row right, later row left, later row right) and the
// centre, divided by the sum of the weights. Depths 8, 24 and 32.
void FilterCross(TFastDIB& dib, int distance, int earlierLeft, int earlierRight, int laterLeft, int laterRight,
                 int centre);
void FilterCross(const PixelRows& picture, int distance, int earlierLeft, int earlierRight, int laterLeft,
                 int laterRight, int centre);
// FilterCross with centre -10 and diagonals 1; distance 0 changes nothing.
void SharpenCross(TFastDIB& dib, int distance);
void SharpenCross(const PixelRows& picture, int distance);

using ChannelTable = std::array<std::uint8_t, 256>;

// Writes the ramp from firstValue to lastValue over entries firstIndex to
// lastIndex in 16.16 steps (low byte of each value).
void FillRamp(ChannelTable& table, int firstIndex, int firstValue, int lastValue, int lastIndex);
ChannelTable ContrastTable(int amount);
ChannelTable BrightnessTable(int amount);

void ApplyChannelTables(TFastDIB& dib, const ChannelTable& red, const ChannelTable& green, const ChannelTable& blue);
// Pixel rows keep blue, green, red in their first three bytes.
void ApplyChannelTables(const PixelRows& picture, const ChannelTable& red, const ChannelTable& green,
                        const ChannelTable& blue);
// Amounts -255 to 255 per channel.
void Contrast(TFastDIB& dib, int red, int green, int blue);
void Brightness(TFastDIB& dib, int red, int green, int blue);
void Contrast(const PixelRows& picture, int red, int green, int blue);
void Brightness(const PixelRows& picture, int red, int green, int blue);

// Every byte of the pixel memory, row padding included, becomes 255 minus it.
void InvertPixels(TFastDIB& dib);
// Every byte of the rows' pixels becomes 255 minus it.
void InvertPixels(const PixelRows& picture);

}  // namespace vistrel::imaging
