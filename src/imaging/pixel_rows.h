#pragma once

#include <cstdint>
#include <vector>

#include "imaging/fast_dib.h"

namespace vistrel::imaging {

// A picture as the filters walk it: one pointer per row in the order they are
// processed (a TFastDIB's memory order), each row `width` pixels of
// `bytesPerPixel` bytes (1, 3 or 4; three channels for 3 and 4, whose fourth
// byte is never written). Rows must not overlap one another. It lets the
// filters run on a picture wherever it lives, without first copying it into
// a TFastDIB.
template <class Byte>
struct BasicPixelRows {
  std::vector<Byte*> rows;
  int width = 0;
  int bytesPerPixel = 3;

  int height() const { return static_cast<int>(rows.size()); }
};

using PixelRows = BasicPixelRows<std::uint8_t>;
using ConstPixelRows = BasicPixelRows<const std::uint8_t>;

// The buffer's rows in memory order; depths other than 8, 24 and 32 give no rows.
PixelRows rowsOf(TFastDIB& dib);
ConstPixelRows rowsOf(const TFastDIB& dib);

// Rows of a packed picture (no row padding) from the last row to the first,
// the order a bottom-up buffer keeps them in.
PixelRows bottomUpRows(std::uint8_t* pixels, int width, int height, int bytesPerPixel);
ConstPixelRows bottomUpRows(const std::uint8_t* pixels, int width, int height, int bytesPerPixel);

}  // namespace vistrel::imaging
