#include "imaging/exif_block.h"

#include <gtest/gtest.h>

#include "../metadata/byte_order_name.h"
#include "../metadata/exif_builder.h"

namespace vistrel::imaging {
namespace {

using vistrel::test::TiffWriter;

std::vector<std::uint8_t> payloadOf(const std::string& tiff) {
  const std::string payload = "Exif" + std::string(2, '\0') + tiff;
  return {payload.begin(), payload.end()};
}

// The four bytes of an entry's value field, found by its tag.
std::string valueField(const std::vector<std::uint8_t>& payload, const TiffWriter& tiff, std::uint16_t tag) {
  const std::string bytes(payload.begin(), payload.end());
  const std::size_t at = bytes.find(tiff.u16(tag));
  return at == std::string::npos ? std::string() : bytes.substr(at + 8, 4);
}

class ExifBlock : public ::testing::TestWithParam<bool> {
 protected:
  TiffWriter tiff{GetParam()};

  // IFD0 with Orientation and the EXIF pointer; the EXIF directory with the
  // pixel size stored as SHORT values, as many cameras write it.
  std::vector<std::uint8_t> cameraBlock(int orientation) {
    const std::uint32_t exif = tiff.nextOffset() + 2 + 2 * 12 + 4;
    tiff.addDirectory({tiff.shortValue(0x0112, std::uint16_t(orientation)), tiff.longValue(34665, exif)});
    tiff.addDirectory({tiff.shortValue(40962, 4000), tiff.shortValue(40963, 3000)});
    return payloadOf(tiff.block(8));
  }
};

TEST_P(ExifBlock, PixelSizeBecomesLongValuesInTheBlocksByteOrder) {
  std::vector<std::uint8_t> payload = cameraBlock(1);
  patchExifDimensions(payload, 3000, 4000);
  const std::string width = valueField(payload, tiff, 40962), height = valueField(payload, tiff, 40963);
  // 3000 = 0x0BB8 and 4000 = 0x0FA0: in the last two bytes for Motorola order,
  // the first two for Intel, and the other half zero either way.
  EXPECT_EQ(width, GetParam() ? std::string("\0\0\x0B\xB8", 4) : std::string("\xB8\x0B\0\0", 4));
  EXPECT_EQ(height, GetParam() ? std::string("\0\0\x0F\xA0", 4) : std::string("\xA0\x0F\0\0", 4));
  const std::string bytes(payload.begin(), payload.end());
  EXPECT_NE(bytes.find(tiff.u16(40962) + tiff.u16(4) + tiff.u32(1)), std::string::npos);
  EXPECT_NE(bytes.find(tiff.u16(40963) + tiff.u16(4) + tiff.u32(1)), std::string::npos);
}

TEST_P(ExifBlock, OrientationIsReadAndReset) {
  std::vector<std::uint8_t> payload = cameraBlock(6);
  EXPECT_EQ(exifOrientation(payload), 6);
  EXPECT_TRUE(resetExifOrientation(payload));
  EXPECT_EQ(exifOrientation(payload), 1);
  EXPECT_EQ(valueField(payload, tiff, 0x0112), tiff.u16(1) + std::string(2, '\0'));
}

TEST_P(ExifBlock, DirectoriesOutsideTheBlockLeaveItAlone) {
  // First directory past the end; then an EXIF pointer past the end; then an
  // EXIF directory whose entry count runs past the end.
  const std::vector<std::string> broken = {
      tiff.block(5000),
      [&] {
        TiffWriter t(GetParam());
        t.addDirectory({t.shortValue(0x0112, 8), t.longValue(34665, 60000)});
        return t.block(8);
      }(),
      [&] {
        TiffWriter t(GetParam());
        const std::uint32_t exif = t.nextOffset() + 2 + 12 + 4;
        t.addDirectory({t.longValue(34665, exif)});
        t.addBytes(t.u16(40) + t.u16(40962) + t.u16(3) + t.u32(1) + t.u16(9) + t.u16(0));
        return t.block(8);
      }()};
  for (const std::string& block : broken) {
    std::vector<std::uint8_t> payload = payloadOf(block);
    const std::vector<std::uint8_t> before = payload;
    patchExifDimensions(payload, 1, 2);
    EXPECT_EQ(payload, before);
  }
  EXPECT_EQ(exifOrientation(payloadOf(broken[1])), 8);
  EXPECT_EQ(exifOrientation(payloadOf(broken[0])), 0);
  std::vector<std::uint8_t> notExif = {'J', 'F', 'I', 'F', 0, 1};
  EXPECT_FALSE(resetExifOrientation(notExif));
}

TEST_P(ExifBlock, PrivateValueAimedAtItsOwnDirectoryIsDroppedInsideTheBlock) {
  const std::uint32_t exif = tiff.nextOffset() + 2 + 12 + 4;
  tiff.addDirectory({tiff.longValue(34665, exif)});
  // A body serial number of 40 characters whose values would start on its directory.
  tiff.addBytes(tiff.u16(1) + tiff.u16(0xA431) + tiff.u16(2) + tiff.u32(40) + tiff.u32(exif) + tiff.u32(0) +
                std::string(40, 'x'));
  std::vector<std::uint8_t> payload = payloadOf(tiff.block(8));
  const std::size_t size = payload.size();
  removePrivateExif(payload);
  const std::string bytes(payload.begin(), payload.end());
  EXPECT_EQ(payload.size(), size);
  EXPECT_EQ(bytes.find(tiff.u16(0xA431)), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifBlock, ::testing::Bool(), vistrel::test::byteOrderName);

}  // namespace
}  // namespace vistrel::imaging
