#pragma once
// The numbered image buffers of the older callers (preview, thumbnail cache,
// histogram): load a file into buffer n, ask its size, paint it. Buffers are
// process-wide and every call is thread-safe. New code that only needs a
// picture should call DecodeImageFile / LoadImageBitmap (image_file.h).
//
// The load reduction is one process-wide setting, kept for the callers that
// set it before a load; a load that passes its own reduction ignores it, so
// parallel loads never depend on each other.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/fast_dib.h"

namespace vistrel::imaging::library {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

int NewBuffer();

// 0 = full size, 1-3 = 1/2, 1/4, 1/8; applies to later loads without their own.
void SetLoadReduction(int reduction);
int LoadReduction();

// Each returns true when the buffer now holds a picture. A file that cannot be
// decoded leaves the buffer empty (width and height 0) and its reason in
// LastError. An empty name releases the buffer's picture.
bool LoadFile(int buffer, const std::filesystem::path& name);
bool LoadFile(int buffer, const std::filesystem::path& name, int reduction);
bool LoadPage(int buffer, const std::filesystem::path& name, int page);
// A BMP file image in memory.
bool LoadFromMemory(int buffer, std::span<const std::uint8_t> bmp);
// Sizes become known without decoding; IsValid stays false.
bool ReadHeader(int buffer, const std::filesystem::path& name);
void CloseBuffer(int buffer);

std::filesystem::path FileName(int buffer);
int Width(int buffer);
int Height(int buffer);
int BitsPerPixel(int buffer);
int ColourCount(int buffer);
bool IsValid(int buffer);
std::string LastError(int buffer);
// Pixel aspect of the buffer's picture, 1:1 unless set.
int AspectX(int buffer);
int AspectY(int buffer);
void SetAspect(int buffer, int x, int y);

// Paints the source rectangle of the buffer's picture into the destination
// rectangle of target, scaled to fit it.
void Paint(int buffer, const Rect& source, TBitmap& target, const Rect& destination);
// A 24-bit picture of the given size from the source rectangle.
TFastDIB Render24(int buffer, int width, int height, const Rect& source);
// Writes the picture in the format of the name's extension (.jpg, .jpeg, .bmp).
void Save(int buffer, const std::filesystem::path& name);

}  // namespace vistrel::imaging::library

namespace vistrel::imaging {

// The loading sequence through a numbered buffer: load with the reduction,
// paint 1:1 into a 24-bit bitmap, release the buffer's picture. A ".psd" file
// passes through the buffer as a BMP image, as the PSD reader delivers it. A
// bitmap of width 0 when nothing could be decoded.
TBitmap LoadImageBitmap(const std::filesystem::path& fileName, int buffer, int reduction);

}  // namespace vistrel::imaging
