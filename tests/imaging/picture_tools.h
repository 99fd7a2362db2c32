#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/fast_dib.h"

namespace vistrel::imaging::test {

// Runs a shell command and returns its standard output; fails the test when
// the command fails.
std::string run(const std::string& command);
bool haveTool(const std::string& name);

// Makes a picture file with ImageMagick: convert <arguments> <writer><path>,
// where the writer, such as "bmp3:", picks a variant of the format.
// The tool may also be "gm convert" (GraphicsMagick), for formats where
// ImageMagick's own writer and reader disagree with the format's definition.
void makeImage(const std::string& arguments, const std::filesystem::path& path, const std::string& writer = "",
               const std::string& tool = "convert");

// ImageMagick's own reading of a file as a 24-bit bitmap (through rgb:-).
// A frame may be picked by appending it to the name, as in "file.psd[0]".
TBitmap referencePixels(const std::filesystem::path& path, int width, int height, const std::string& frame = "",
                        const std::string& tool = "convert");

// The largest difference of any channel; -1 when the sizes differ.
int maxDifference(const TBitmap& a, const TBitmap& b);

// A small bitmap from rows of RGB triples, top row first.
TBitmap bitmapOf(int width, int height, const std::vector<std::uint8_t>& rgb);

// An 8-bit grey buffer from values in memory-row order (Rows[0] first).
TFastDIB greyDib(int width, int height, const std::vector<std::uint8_t>& values);
std::vector<std::uint8_t> greyValues(const TFastDIB& dib);

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

// The file decoded into padded four-byte screen rows, read back as a bitmap;
// an empty bitmap when any fourth byte is not 255.
TBitmap screenPixels(const std::filesystem::path& file, int reduction);

}  // namespace vistrel::imaging::test
