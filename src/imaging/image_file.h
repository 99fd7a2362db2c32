#pragma once
// Loading pictures: the entry points of the imaging code.
//
//   ReadImageHeader(path)            size without decoding pixels (JPEG markers,
//                                    PNG IHDR, ...); throws Error
//   DecodeImageFile(path, reduction) the picture as a 24-bit TBitmap at 1/1,
//                                    1/2, 1/4 or 1/8 size; throws Error with the
//                                    user's message (unknown format, damaged,
//                                    too large)
//   LoadImageBitmap(path, reduction) the same, but a bitmap of width 0 when
//                                    nothing can be decoded (the reason is logged)
//
// All three are safe to call on several threads at once: the reduction is a
// parameter of each call. JPEG files (and camera raw previews) are reduced by
// the decoder's DCT scaling and never decoded at full size; the other formats
// are decoded and then shrunk. Formats: JPEG, PNG, GIF (first frame), TIFF
// (pages), WebP, BMP (all variants), PCX, TGA, PSD (merged picture), camera raw
// (.nef, .cr2, ... through the embedded preview). Transparent parts come out on
// white. Pictures whose pixels would need more than pixelMemoryLimit() (1 GiB)
// are refused.
//
// Then, on the pictures: dib_filters.h (TFastDIB: ResampleBilinear,
// SharpenCross, Contrast, Brightness, InvertPixels), bitmap_filters.h (TBitmap:
// ResampleFiltered, SharpenBitmap), dib_transfer.h (TBitmap <-> TFastDIB),
// jpeg_encoder.h (SaveBitmapAsJpeg, EncodeJpeg). image_library.h offers the
// numbered-buffer interface of the older callers on top of this.

#include <cstdint>
#include <filesystem>
#include <span>

#include "imaging/image_types.h"

namespace vistrel::imaging {

ImageHeader ReadImageHeader(const std::filesystem::path& file);
DecodedImage DecodeImageFile(const std::filesystem::path& file, int reduction, int page = 0);

// The same from bytes in memory; the name only helps to tell the format (by
// its extension) where the bytes alone cannot (TGA, camera raw).
ImageHeader ReadImageHeader(std::span<const std::uint8_t> bytes, const std::filesystem::path& name);
DecodedImage DecodeImage(std::span<const std::uint8_t> bytes, const std::filesystem::path& name, int reduction,
                         int page = 0);

TBitmap LoadImageBitmap(const std::filesystem::path& fileName, int reduction);

// The first picture of the file as packed red-first rows, for callers that
// draw in that order: JPEG files are decoded straight into it, the others
// converted from their bitmap. DecodeImageFileRgb throws as DecodeImageFile
// does; LoadImageRgb gives an empty picture instead.
RgbPicture DecodeImageFileRgb(const std::filesystem::path& file, int reduction);

// Page `page` of the file at the reduction, written into memory the caller
// holds, four bytes a pixel (the screen's layout): JPEG files are decoded
// straight into it, the others copied from their bitmap. The result tells the
// file's depth and colours; its bitmap stays empty. Throws as DecodeImageFile.
DecodedImage DecodeImageFileBgra(const std::filesystem::path& file, int reduction, int page,
                                 const BgraAllocator& allocate);
RgbPicture LoadImageRgb(const std::filesystem::path& fileName, int reduction);

// About the most memory a decode of the file at this reduction holds at once
// (its bytes, the decoder's rows and the picture), from the size its header
// gives: formats other than JPEG are decoded at full size before they shrink.
// Reads only the start of the file; 0 when it cannot be read.
std::uint64_t DecodeMemory(const std::filesystem::path& file, int width, int height, int reduction);

}  // namespace vistrel::imaging
