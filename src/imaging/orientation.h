#pragma once

#include <cstdint>

#include "imaging/bitmap.h"
#include "imaging/image_types.h"

namespace vistrel::imaging {

// Photos from phones and most cameras are stored the way the sensor reads them
// and carry an EXIF Orientation value (1-8) that says how to turn them to show
// the scene the way the camera was held. Everything that shows or prints a
// photo upright goes through OrientPixels.

// True for the values 5-8, whose upright picture has the stored one's width
// and height swapped.
bool OrientationSwapsSides(int orientation);

// Writes the upright form of a stored picture: `source` holds width × height
// pixels of `bytesPerPixel` bytes (1 to 4), rows `sourceStride` bytes apart;
// `target` receives the upright picture (height × width for 5-8), rows
// `targetStride` bytes apart. Values outside 1-8 count as 1 (a plain copy).
void OrientPixels(const std::uint8_t* source, int width, int height, int sourceStride, int bytesPerPixel,
                  int orientation, std::uint8_t* target, int targetStride);

// The bitmap turned upright.
TBitmap OrientBitmap(const TBitmap& picture, int orientation);
RgbPicture orientedPicture(const RgbPicture& picture, int orientation);

}  // namespace vistrel::imaging
