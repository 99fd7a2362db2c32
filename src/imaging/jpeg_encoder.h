#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/image_types.h"

namespace vistrel::imaging {

// JPEG encoding over libjpeg: colour, standard tables, the given quality
// (1-100) and baseline or progressive. Throws Error for an empty bitmap.
std::vector<std::uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality, bool progressive);
// The same file from packed red-first rows.
std::vector<std::uint8_t> EncodeJpeg(const RgbPicture& picture, int quality, bool progressive);

// Writes the bitmap as a JPEG file; the file is replaced only once the new
// one is complete. The two-argument form is baseline at quality 80.
void SaveBitmapAsJpeg(const std::filesystem::path& fileName, const TBitmap& bitmap);
void SaveBitmapAsJpeg(const std::filesystem::path& fileName, const TBitmap& bitmap, int quality, bool progressive);

}  // namespace vistrel::imaging
