#pragma once

#include "imaging/bitmap.h"

namespace vistrel::imaging {

// What a header-only read tells about a file.
struct ImageHeader {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // of the file
};

// A decoded picture: always 24 bits in the bitmap, whatever the file held.
struct DecodedImage {
  TBitmap bitmap;
  int bitsPerPixel = 24;  // of the file
  int colours = 0;        // palette entries, 0 for true colour
};

}  // namespace vistrel::imaging
