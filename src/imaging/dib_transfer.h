#pragma once

#include <filesystem>

#include "imaging/bitmap.h"
#include "imaging/fast_dib.h"

namespace vistrel::imaging {

// The pixel hand-over between TBitmap and TFastDIB. Each gives the same
// pixels as saving the one as a BMP stream and loading it into the other,
// without the stream.

// dib becomes a bottom-up 24-bit buffer (positive Height) of the bitmap's size.
void BitmapToDib(const TBitmap& bitmap, TFastDIB& dib);

// bitmap becomes the dib's picture at 24 bits; every depth and both row
// orders of TFastDIB are read (palettes and bit fields resolved).
void DibToBitmap(const TFastDIB& dib, TBitmap& bitmap);

// Writes the picture as a 24-bit BMP file, replacing the file only once the
// new one is complete. Throws Error.
void SaveBitmapAsBmp(const std::filesystem::path& file, const TBitmap& picture);

// target takes the picture's size and pixels.
void CopyToBitmap24(TBitmap& target, const TBitmap& picture);

}  // namespace vistrel::imaging
