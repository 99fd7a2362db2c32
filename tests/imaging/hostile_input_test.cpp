// Damaged and hostile files: each must give a clean error (and "no picture"
// from LoadImageBitmap), never a crash, a hang or a huge allocation. The
// sanitizer build runs these too.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "imaging/codecs/format_table.h"
#include "imaging/fast_dib.h"
#include "imaging/image_file.h"
#include "imaging/image_library.h"
#include "picture_tools.h"
#include "platform/error.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void putBe32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}
void putLe16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void putLe32(Bytes& b, std::size_t at, std::uint32_t v) {
  putLe16(b, at, static_cast<std::uint16_t>(v));
  putLe16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// A DNG-style TIFF: its first directory is an uncompressed RGB preview that
// claims width x height (its strip holds 16 x 12 pixels whatever it claims),
// the sub-directory a 32 x 32 raw image. Every value fits in its entry.
Bytes cameraRawWithBitmapPreview(std::uint32_t width, std::uint32_t height) {
  struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
  };
  constexpr std::uint16_t kByte = 1, kAscii = 2, kShort = 3, kLong = 4;
  constexpr std::size_t kRawAt = 158, kPixelsAt = 308, kSide = 32;
  Bytes file(kPixelsAt + kSide * kSide);
  file[0] = 'I', file[1] = 'I', file[2] = 42;
  putLe32(file, 4, 8);
  const auto directory = [&](std::size_t at, const std::vector<Entry>& entries) {
    putLe16(file, at, static_cast<std::uint16_t>(entries.size()));
    for (const Entry& e : entries) {
      at += 12;
      putLe16(file, at - 10, e.tag);
      putLe16(file, at - 8, e.type);
      putLe32(file, at - 6, e.count);
      putLe32(file, at - 2, e.value);
    }
  };
  directory(8, {{254, kLong, 1, 1}, {256, kLong, 1, width}, {257, kLong, 1, height}, {258, kShort, 1, 8},
                {262, kShort, 1, 2}, {271, kAscii, 4, 0x006C654B /* "Kel" */}, {273, kLong, 1, kPixelsAt},
                {277, kShort, 1, 3}, {278, kLong, 1, height}, {279, kLong, 1, 16 * 12 * 3},
                {330, kLong, 1, kRawAt}, {50706, kByte, 4, 0x0401 /* DNG 1.4 */}});
  directory(kRawAt, {{254, kLong, 1, 0}, {256, kLong, 1, kSide}, {257, kLong, 1, kSide}, {258, kShort, 1, 8},
                     {259, kShort, 1, 1}, {262, kShort, 1, 32803}, {273, kLong, 1, kPixelsAt}, {277, kShort, 1, 1},
                     {278, kLong, 1, kSide}, {279, kLong, 1, kSide * kSide}, {33421, kShort, 2, 0x00020002},
                     {33422, kByte, 4, 0x02010100}});
  return file;
}

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
  }

  Bytes made(const std::string& name, const std::string& arguments = "-size 40x30 plasma:fractal -seed 1",
             const std::string& writer = "") {
    const auto file = folder / name;
    test::makeImage(arguments, file, writer);
    return test::readBytes(file);
  }

  // The file must be refused by the decoder and give an empty bitmap.
  void expectRefused(const std::string& name, const Bytes& bytes) {
    const auto file = folder.write(name, std::string(bytes.begin(), bytes.end()));
    EXPECT_THROW(DecodeImageFile(file, 0), Error) << name;
    EXPECT_TRUE(LoadImageBitmap(file, 0).Empty()) << name;
    const int buffer = library::NewBuffer();
    EXPECT_FALSE(library::LoadFile(buffer, file, 0)) << name;
    EXPECT_EQ(library::Width(buffer), 0);
    EXPECT_FALSE(library::LastError(buffer).empty());
    library::CloseBuffer(buffer);
  }

  vistrel::test::TempFolder folder;
};

TEST_F(HostileInput, EmptyFilesOfEveryFormat) {
  for (const char* name : {"e.jpg", "e.png", "e.gif", "e.tif", "e.webp", "e.bmp", "e.pcx", "e.tga", "e.psd", "e.nef"}) {
    expectRefused(name, {});
  }
}

TEST_F(HostileInput, TruncatedFilesOfEveryFormat) {
  // Cut in the middle of the pixel data. A truncated JPEG decodes "fine" with
  // grey padding in libjpeg; it must count as damaged.
  for (const char* name : {"t.jpg", "t.png", "t.gif", "t.tif", "t.webp", "t.psd"}) {
    Bytes bytes = made(name);
    bytes.resize(bytes.size() / 2);
    expectRefused(name, bytes);
  }
  Bytes header = made("h.bmp");
  header.resize(40);  // ends inside the info header: "Stream read error"
  expectRefused("h.bmp", header);
}

TEST_F(HostileInput, JpegClaimingAHugePicture) {
  // SOF patched to 65000 x 65000: refused before any pixel memory is taken
  // at full size; at 1/8 the scans run out at once.
  Bytes bytes = made("big.jpg");
  const std::array<std::uint8_t, 2> marker = {0xFF, 0xC0};
  const auto sof = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
  ASSERT_NE(sof, bytes.end());
  const std::size_t at = static_cast<std::size_t>(sof - bytes.begin());
  bytes[at + 5] = bytes[at + 7] = 0xFD;
  bytes[at + 6] = bytes[at + 8] = 0xE8;
  expectRefused("big.jpg", bytes);
  const auto file = folder.write("big2.jpg", std::string(bytes.begin(), bytes.end()));
  EXPECT_THROW(DecodeImageFile(file, 3), Error);
}

TEST_F(HostileInput, PngClaimingAHugePictureWithAValidChecksum) {
  Bytes bytes = made("big.png");
  putBe32(bytes, 16, 1000000);
  putBe32(bytes, 20, 1000000);
  putBe32(bytes, 29, crc32(bytes.data() + 12, 17));
  expectRefused("big.png", bytes);
}

TEST_F(HostileInput, GifWithAHugeScreen) {
  Bytes bytes = made("big.gif");
  putLe16(bytes, 6, 65535);
  putLe16(bytes, 8, 65535);
  expectRefused("big.gif", bytes);
}

TEST_F(HostileInput, BmpHeadersThatLie) {
  const Bytes good = made("good.bmp", "-size 4x3 xc:red", "bmp3:");
  Bytes wide = good;
  putLe32(wide, 18, 0x7FFFFFFF);  // 2^31 pixels per row
  expectRefused("wide.bmp", wide);
  Bytes negative = good;
  putLe32(negative, 18, 0xFFFFFFF0);  // width -16
  expectRefused("negative.bmp", negative);
  Bytes tall = good;
  putLe32(tall, 22, 0x80000000);  // height INT_MIN has no absolute value
  expectRefused("tall.bmp", tall);
  Bytes depth = good;
  putLe16(depth, 28, 7);
  expectRefused("depth.bmp", depth);
  Bytes header = good;
  putLe32(header, 14, 1000);  // no such info header
  expectRefused("header.bmp", header);
  Bytes rle1 = good;
  putLe16(rle1, 28, 1);
  putLe32(rle1, 30, kBiRle8);  // RLE8 on 1-bit rows would write past them
  expectRefused("rle1.bmp", rle1);
}

TEST_F(HostileInput, BmpPixelOffsetPastTheEndGivesAnEmptyPicture) {
  // The pixel data is simply missing: the header was read, so the picture
  // comes out black rather than failing (as the BMP stream rule says).
  Bytes bytes = made("far.bmp", "-size 4x3 xc:red", "bmp3:");
  putLe32(bytes, 10, 0xFFFFFFF0);
  const auto file = folder.write("far.bmp", std::string(bytes.begin(), bytes.end()));
  const TBitmap bitmap = DecodeImageFile(file, 0).bitmap;
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.ScanLine(0)[2], 0);
}

TEST_F(HostileInput, RleDeltasAndRunsOutsideThePicture) {
  // Deltas far beyond the last row and runs far beyond the row end must only
  // be cut, never written.
  Bytes b(54 + 1024);
  b[0] = 'B', b[1] = 'M';
  putLe32(b, 10, 54 + 1024);
  putLe32(b, 14, 40);
  putLe32(b, 18, 2);
  putLe32(b, 22, 2);
  b[26] = 1;
  b[28] = 8;
  putLe32(b, 30, kBiRle8);
  const Bytes data = {0, 2, 255, 255, 255, 9, 0, 2, 0, 200, 0, 255, 1, 2, 3};  // delta, run, delta, bad absolute
  b.insert(b.end(), data.begin(), data.end());
  putLe32(b, 2, static_cast<std::uint32_t>(b.size()) + 1000);  // bfSize beyond the stream
  TFastDIB dib;
  dib.LoadFromMemory(b);
  EXPECT_EQ(dib.Width, 2);
}

TEST_F(HostileInput, PcxLinesThatLie) {
  Bytes bytes = made("a.pcx", "-size 4x3 xc:red");
  Bytes padded = bytes;
  putLe16(padded, 66, 65535);  // 64 KB of "padding" per line of 4 pixels
  expectRefused("padded.pcx", padded);
  Bytes inverted = bytes;
  putLe16(inverted, 8, 0);  // xMax below xMin
  putLe16(inverted, 4, 5);
  expectRefused("inverted.pcx", inverted);
}

TEST_F(HostileInput, TgaAndPsdClaimingHugePictures) {
  Bytes tga(18 + 3);
  tga[2] = 2;
  putLe16(tga, 12, 65535);
  putLe16(tga, 14, 65535);
  tga[16] = 24;
  expectRefused("big.tga", tga);
  Bytes psd = made("big.psd");
  putBe32(psd, 14, 300000);  // rows
  putBe32(psd, 18, 300000);  // columns
  expectRefused("big.psd", psd);
}

// The PSD reader handed bytes that stb takes for another format: the PSD
// header fields then hold whatever bytes stand there.
TEST_F(HostileInput, PsdReaderOnBytesOfAnotherFormat) {
  Bytes tga = made("a.tga", "-size 4x3 xc:white -compress None");
  for (std::size_t at : {12, 13, 22, 23}) tga[at] = 0xFF;  // as PSD: 65535 channels of 65535 bits
  const auto& formats = codecs::imageFormats();
  const auto psd = std::find_if(formats.begin(), formats.end(), [](const auto& f) { return f.name == "PSD"; });
  ASSERT_NE(psd, formats.end());
  const int bits = psd->factory()->readHeader(tga).bitsPerPixel;
  EXPECT_TRUE(bits > 0 && bits <= 32) << bits;
}

TEST_F(HostileInput, TiffClaimingAHugePicture) {
  Bytes bytes = made("big.tif", "-size 4x3 xc:red -compress None");
  // Little-endian TIFF from ImageMagick; patch the width and length entries.
  ASSERT_EQ(bytes[0], 'I');
  const std::uint32_t ifd = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::uint32_t>(bytes[7]) << 24;
  const int entries = bytes[ifd] | bytes[ifd + 1] << 8;
  for (int i = 0; i < entries; ++i) {
    const std::size_t entry = ifd + 2 + 12 * static_cast<std::size_t>(i);
    const int tag = bytes[entry] | bytes[entry + 1] << 8;
    if (tag == 256 || tag == 257) {
      putLe16(bytes, entry + 2, 4);  // LONG
      putLe32(bytes, entry + 8, 200000);
    }
  }
  expectRefused("big.tif", bytes);
}

TEST_F(HostileInput, GarbageUnderARawExtension) {
  Bytes bytes(4096);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + 7);
  expectRefused("camera.nef", bytes);
}

// Found by fuzzing: LibRaw took the memory of the claimed size before reading a byte of it.
TEST_F(HostileInput, CameraRawPreviewClaimingAHugeBitmapIsRefusedBeforeItsMemoryIsTaken) {
  EXPECT_EQ(ReadImageHeader(cameraRawWithBitmapPreview(16, 12), "small.dng").width, 16);
  EXPECT_THROW(ReadImageHeader(cameraRawWithBitmapPreview(8192, 64769), "huge.dng"), Error);  // 1.6 GB in 1.3 KB
}

}  // namespace
}  // namespace vistrel::imaging
