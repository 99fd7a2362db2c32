#include "imaging/fast_dib.h"

#include <gtest/gtest.h>

#include <sstream>

#include "imaging/dib_transfer.h"
#include "picture_tools.h"
#include "platform/error.h"

namespace vistrel::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string saved(const TFastDIB& dib) {
  std::ostringstream out;
  dib.SaveToStream(out);
  return out.str();
}

std::uint32_t le32(const std::string& s, std::size_t at) {
  return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8 |
         static_cast<std::uint8_t>(s[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24;
}

void putLe32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP file image with a 40-byte header and the given table and pixel data.
Bytes bmpImage(int width, int height, int bitCount, std::uint32_t compression, const Bytes& table, const Bytes& data) {
  Bytes b(54);
  b[0] = 'B', b[1] = 'M';
  putLe32(b, 2, static_cast<std::uint32_t>(54 + table.size() + data.size()));
  putLe32(b, 10, static_cast<std::uint32_t>(54 + table.size()));
  putLe32(b, 14, 40);
  putLe32(b, 18, static_cast<std::uint32_t>(width));
  putLe32(b, 22, static_cast<std::uint32_t>(height));
  b[26] = 1;
  b[28] = static_cast<std::uint8_t>(bitCount);
  putLe32(b, 30, compression);
  b.insert(b.end(), table.begin(), table.end());
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

TEST(FastDib, StridesAndGapsByDepth) {
  TFastDIB dib;
  dib.SetSize(1, 1, 24);
  EXPECT_EQ(dib.RowStride, 4u);
  EXPECT_EQ(dib.RowGap, 1u);
  dib.SetSize(9, 2, 1);  // 16 bits of pixels in a 32-bit row
  EXPECT_EQ(dib.RowStride, 4u);
  EXPECT_EQ(dib.RowGap, 2u);
  dib.SetSize(3, 1, 4);
  EXPECT_EQ(dib.RowStride, 4u);
  EXPECT_EQ(dib.RowGap, 2u);
  dib.SetSize(3, 1, 16);
  EXPECT_EQ(dib.RowStride, 8u);
  EXPECT_EQ(dib.RowGap, 2u);
  EXPECT_EQ(dib.GreenShift, 5);
  EXPECT_EQ(dib.RedShift, 10);
  EXPECT_EQ(dib.Info.bmiHeader.biCompression, kBiRgb);
  dib.SetSize(3, -2, 32);
  EXPECT_EQ(dib.RowStride, 12u);
  EXPECT_EQ(dib.AbsHeight, 2);
  EXPECT_EQ(dib.DataSize, 24u);
  EXPECT_EQ(dib.Rows[1], dib.Bits + 12);
}

TEST(FastDib, BitFieldMasksGoIntoTheColourTable) {
  TFastDIB dib;
  dib.SetFormat(nullptr, 2, 2, 16, 5, 6, 5);
  EXPECT_EQ(dib.Info.bmiHeader.biCompression, kBiBitFields);
  const auto mask = [&](int i) {
    const RgbQuad& q = dib.Palette()[i];
    return q.rgbBlue | q.rgbGreen << 8 | q.rgbRed << 16 | q.rgbReserved << 24;
  };
  EXPECT_EQ(mask(0), 0xF800);
  EXPECT_EQ(mask(1), 0x07E0);
  EXPECT_EQ(mask(2), 0x001F);
  EXPECT_EQ(dib.GreenExpand, 2);
  dib.SetFormat(nullptr, 1, 1, 32, 8, 8, 16);
  EXPECT_EQ(static_cast<std::uint32_t>(mask(0)), 0xFFFF0000u);  // total 32: all bits
}

TEST(FastDib, SameSizeAgainKeepsMemoryAndContents) {
  TFastDIB dib;
  dib.SetSize(5, 5, 24);
  dib.Bits[7] = 42;
  const std::uint8_t* before = dib.Bits;
  dib.SetSize(5, 5, 24);
  EXPECT_EQ(dib.Bits, before);
  EXPECT_EQ(dib.Bits[7], 42);
}

TEST(FastDib, ExternalMemoryIsUsedAsItIs) {
  std::uint8_t memory[16] = {};
  TFastDIB dib;
  dib.SetFormat(memory, 2, 2, 24, 0, 0, 0);
  EXPECT_EQ(dib.Bits, memory);
  EXPECT_FALSE(dib.OwnsMemory);
}

TEST(FastDib, SaveToStreamWritesHeaderOffsetsAndTable) {
  TFastDIB dib;
  dib.SetSize(3, 2, 24);
  const std::string bmp24 = saved(dib);
  EXPECT_EQ(bmp24.substr(0, 2), "BM");
  EXPECT_EQ(le32(bmp24, 10), 54u);
  EXPECT_EQ(le32(bmp24, 2), 54u + dib.DataSize);
  EXPECT_EQ(bmp24.size(), 54u + dib.DataSize);

  dib.SetSize(3, 2, 8);
  const std::string bmp8 = saved(dib);
  EXPECT_EQ(le32(bmp8, 10), 1078u);
  dib.SetFormat(nullptr, 3, 2, 16, 5, 6, 5);
  EXPECT_EQ(le32(saved(dib), 10), 66u);
}

TEST(FastDib, ColoursUsedBeyondTheTableAreCappedOnSave) {
  // A file may claim any number of colours; the table holds 256, and writing
  // more would read past it.
  Bytes image = bmpImage(1, 1, 8, 0, Bytes(1024), {0, 0, 0, 0});
  putLe32(image, 46, 100000);
  TFastDIB dib;
  dib.LoadFromMemory(image);
  const std::string bmp = saved(dib);
  EXPECT_EQ(le32(bmp, 10), 1078u);
  EXPECT_EQ(bmp.size(), 1078u + dib.DataSize);
}

TEST(FastDib, StreamRoundTripKeepsPixelsAndPalette) {
  TFastDIB dib;
  dib.SetSize(3, 2, 8);
  for (std::uint32_t i = 0; i < dib.DataSize; ++i) dib.Bits[i] = static_cast<std::uint8_t>(i * 7);
  dib.Palette()[5] = {1, 2, 3, 0};
  std::istringstream in(saved(dib));
  TFastDIB copy;
  copy.LoadFromStream(in);
  EXPECT_EQ(copy.Width, 3);
  EXPECT_EQ(copy.Height, 2);
  EXPECT_EQ(copy.BitCount, 8);
  EXPECT_EQ(Bytes(copy.Bits, copy.Bits + copy.DataSize), Bytes(dib.Bits, dib.Bits + dib.DataSize));
  EXPECT_EQ(copy.Palette()[5].rgbRed, 3);
}

TEST(FastDib, ShortPixelDataFillsOnlyWhatIsThere) {
  Bytes image = bmpImage(2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 9});
  TFastDIB dib;
  dib.LoadFromMemory(image);
  EXPECT_EQ(dib.Bits[8], 9);
  EXPECT_EQ(dib.Bits[9], 0);
}

TEST(FastDib, ZeroWidthPictureLoadsAsEmpty) {
  // Found by fuzzing: no pixel memory at all must not reach memcpy.
  TFastDIB dib;
  dib.LoadFromMemory(bmpImage(0, 5, 24, 0, {}, {1, 2, 3}));
  EXPECT_EQ(dib.DataSize, 0u);
  TBitmap bitmap;
  DibToBitmap(dib, bitmap);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(FastDib, StreamEndingInTheHeaderIsAReadError) {
  Bytes image = bmpImage(2, 2, 24, 0, {}, {});
  image.resize(30);
  TFastDIB dib;
  try {
    dib.LoadFromMemory(image);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

TEST(FastDib, BitFieldMasksGiveChannelWidths) {
  Bytes masks(12);
  putLe32(masks, 0, 0xF800);
  putLe32(masks, 4, 0x07E0);
  putLe32(masks, 8, 0x001F);
  TFastDIB dib;
  dib.LoadFromMemory(bmpImage(2, 1, 16, kBiBitFields, masks, {0x00, 0xF8, 0xE0, 0x07}));
  EXPECT_EQ(dib.RedBits, 5);
  EXPECT_EQ(dib.GreenBits, 6);
  TBitmap bitmap;
  DibToBitmap(dib, bitmap);
  EXPECT_EQ(bitmap.ScanLine(0)[2], 248);  // pure red, widened
  EXPECT_EQ(bitmap.ScanLine(0)[4], 252);  // pure green
}

// Found by fuzzing: a mask of all 32 bits made the channel's shift undefined.
TEST(FastDib, ChannelsAsWideAsThePixelReadWithoutOverflowAndTooWideOnesAreRefused) {
  Bytes masks(12);
  putLe32(masks, 8, 0xFFFFFFFF);  // blue takes the whole pixel
  TFastDIB dib;
  dib.LoadFromMemory(bmpImage(1, 1, 32, kBiBitFields, masks, {0x00, 0x00, 0x00, 0xAB}));
  EXPECT_EQ(dib.BlueBits, 32);
  TBitmap bitmap;
  DibToBitmap(dib, bitmap);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 0xAB);  // the top 8 of its 32 bits

  putLe32(masks, 0, 0xFFFF);  // 32 bits of fields in a 16-bit pixel
  EXPECT_THROW(dib.LoadFromMemory(bmpImage(1, 1, 16, kBiBitFields, masks, {0, 0, 0, 0})), Error);
}

TEST(FastDib, Rle8RunsDeltasAndAbsoluteRuns) {
  // Row 0: run of 3 x index 1, then absolute 2, 3, 1 (padded), end of line.
  // Row 1: delta right 1, run of 1 x index 2, end of bitmap.
  const Bytes data = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1};
  Bytes table(1024);
  TFastDIB dib;
  dib.LoadFromMemory(bmpImage(6, 2, 8, kBiRle8, table, data));
  EXPECT_EQ(Bytes(dib.Rows[0], dib.Rows[0] + 6), (Bytes{1, 1, 1, 2, 3, 1}));
  EXPECT_EQ(Bytes(dib.Rows[1], dib.Rows[1] + 6), (Bytes{0, 2, 0, 0, 0, 0}));
  EXPECT_EQ(dib.Info.bmiHeader.biCompression, kBiRgb);
}

TEST(FastDib, Rle8RunPastTheRowEndIsCut) {
  const Bytes data = {200, 7, 0, 0, 2, 9, 0, 1};
  TFastDIB dib;
  dib.LoadFromMemory(bmpImage(3, 2, 8, kBiRle8, Bytes(1024), data));
  EXPECT_EQ(Bytes(dib.Rows[0], dib.Rows[0] + 3), (Bytes{7, 7, 7}));
  EXPECT_EQ(Bytes(dib.Rows[1], dib.Rows[1] + 3), (Bytes{9, 9, 0}));
}

TEST(FastDib, Rle4AlternatesNibbles) {
  // Run of 5 pixels of 0x12: 1 2 1 2 1; absolute 3 pixels 0x34 0x50 (padded).
  const Bytes data = {5, 0x12, 0, 3, 0x34, 0x50, 0, 1};
  TFastDIB dib;
  dib.LoadFromMemory(bmpImage(8, 1, 4, kBiRle4, Bytes(64), data));
  EXPECT_EQ(Bytes(dib.Rows[0], dib.Rows[0] + 4), (Bytes{0x12, 0x12, 0x13, 0x45}));
}

TEST(FastDib, Os2CoreHeaderWithTriples) {
  Bytes b(26 + 6 + 4);
  b[0] = 'B', b[1] = 'M';
  putLe32(b, 10, 32);
  putLe32(b, 14, 12);
  b[18] = 2;   // width
  b[20] = 1;   // height
  b[22] = 1;   // planes
  b[24] = 1;   // bit count
  b[29] = 0, b[30] = 0, b[31] = 255;
  b[32] = 0x40;  // pixels: 0 1
  TFastDIB dib;
  dib.LoadFromMemory(b);
  EXPECT_EQ(dib.Width, 2);
  EXPECT_EQ(dib.BitCount, 1);
  TBitmap bitmap;
  DibToBitmap(dib, bitmap);
  EXPECT_EQ(bitmap.ScanLine(0)[5], 255);  // second pixel red
  EXPECT_EQ(bitmap.ScanLine(0)[2], 0);
}

TEST(FastDib, BitmapTransferIsBottomUpAndRoundTrips) {
  const TBitmap bitmap = test::bitmapOf(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  TFastDIB dib;
  BitmapToDib(bitmap, dib);
  EXPECT_GT(dib.Height, 0);
  EXPECT_EQ(dib.Rows[0][2], 7);  // memory row 0 is the bottom line
  TBitmap back;
  DibToBitmap(dib, back);
  EXPECT_EQ(back, bitmap);
}

}  // namespace
}  // namespace vistrel::imaging
