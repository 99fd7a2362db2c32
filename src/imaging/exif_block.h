#pragma once

#include <cstdint>
#include <span>

namespace vistrel::imaging {

// The few EXIF edits a lossless transform makes, done in place on the payload
// of an APP1 segment ("Exif", two zero bytes, then a TIFF structure). Every
// offset is checked against the payload: a damaged block is left as it is.

bool isExifPayload(std::span<const std::uint8_t> payload);

// The Orientation tag of the first directory (1 to 8); 0 when the block has
// none or it is not a valid value.
int exifOrientation(std::span<const std::uint8_t> payload);

// Sets the Orientation tag to 1 (upright); false when there was none to set.
bool resetExifOrientation(std::span<std::uint8_t> payload);

// Writes the picture's new size into the EXIF directory's pixel width and
// height entries, as LONG values in the block's byte order.
void patchExifDimensions(std::span<std::uint8_t> payload, int width, int height);

}  // namespace vistrel::imaging
