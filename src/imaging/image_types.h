#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

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

// A picture as packed rows, top row first, three bytes per pixel in the
// order red, green, blue, with no row padding: the form of pictures that are
// drawn on and encoded rather than handed to the filters as bitmaps.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  RgbPicture() = default;
  RgbPicture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3) {}
  bool empty() const { return width <= 0 || height <= 0; }
  std::uint8_t* at(int x, int y) { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3; }
  const std::uint8_t* at(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
  }
};

// Memory the caller holds for a picture of four bytes a pixel (blue, green,
// red, then 255), the layout of 32-bit screen pictures: called once with the
// picture's size, it returns where the top row goes and sets the bytes from
// one row to the next; nullptr when it has no room.
using BgraAllocator = std::function<std::uint8_t*(int width, int height, std::size_t& stride)>;

// A bitmap's pixels as an RgbPicture.
RgbPicture toRgbPicture(const TBitmap& bitmap);

}  // namespace vistrel::imaging
