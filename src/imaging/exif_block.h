#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vistrel::imaging {

// The few EXIF edits a lossless transform makes, done in place on the payload
// of an APP1 segment ("Exif", two zero bytes, then a TIFF structure). Every
// offset is checked against the payload: a damaged block is left as it is.

bool isExifPayload(std::span<const std::uint8_t> payload);

// The payload of the EXIF segment that directly follows the start of a JPEG
// stream, as the program writes its outputs; empty when there is none.
std::span<std::uint8_t> leadingExifPayload(std::string& jpeg);

// The Orientation tag of the first directory (1 to 8); 0 when the block has
// none or it is not a valid value.
int exifOrientation(std::span<const std::uint8_t> payload);

// Sets the Orientation tag to 1 (upright); false when there was none to set.
bool resetExifOrientation(std::span<std::uint8_t> payload);

// Leaves out what tells strangers where a photo was taken and which camera
// took it: the GPS directory (its entries and values blanked, its pointer
// dropped), the serial numbers of body and lens, and the maker note, which
// holds them again in the maker's own form. The block keeps its size.
void removePrivateExif(std::span<std::uint8_t> payload);

// Writes the picture's new size into the EXIF directory's pixel width and
// height entries, as LONG values in the block's byte order.
void patchExifDimensions(std::span<std::uint8_t> payload, int width, int height);

}  // namespace vistrel::imaging
