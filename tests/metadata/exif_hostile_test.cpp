// Damaged and hostile EXIF blocks. Each case names the fault it guards
// against; every one must end in a clean result or error text, never a
// crash, a hang or a huge allocation (the sanitizer build runs these too).
#include <gtest/gtest.h>

#include "exif_builder.h"
#include "metadata/img_data.h"

namespace vistrel::metadata {
namespace {

using test::exifSegment;
using test::jpegOf;
using test::segment;
using test::TiffWriter;

class HostileExifTest : public ::testing::Test {
 protected:
  TiffWriter w{true};
  TimgData data;
  bool read(const std::string& tiff) { return data.ReadMetadataFromMemory(jpegOf({exifSegment(tiff)}), ".jpg"); }
};

TEST_F(HostileExifTest, DirectoryCountLargerThanTheBlock) {
  // 0xFFFF entries claimed, two present: reading on would leave the buffer.
  const std::uint32_t first = w.addBytes(w.u16(0xFFFF) + std::string(24, '\0'));
  ASSERT_TRUE(read(w.block(first)));
  EXPECT_EQ(data.Exif->EntryCount(), 0);
  EXPECT_EQ(data.ErrorText, "<none>");
}

TEST_F(HostileExifTest, BadSubDirectoryLeavesItsParentReadable) {
  // The Exif pointer leads to a directory that runs past the end; the rest of
  // the first directory is still read.
  const std::uint32_t broken = w.addBytes(w.u16(500));
  const std::uint32_t first = w.addDirectory({w.longValue(0x8769, broken), w.ascii(0x010F, "After")});
  ASSERT_TRUE(read(w.block(first)));
  EXPECT_EQ(data.Exif->CameraMake, "After");
}

TEST_F(HostileExifTest, SubDirectoryPointingToItself) {
  // A directory whose Exif pointer is its own offset recursed without end.
  const std::uint32_t self = w.nextOffset();
  w.addDirectory({w.longValue(0x8769, self), w.ascii(0x010F, "Loop")});
  ASSERT_TRUE(read(w.block(self)));
  EXPECT_EQ(data.Exif->EntryCount(), 2);  // each entry once
}

TEST_F(HostileExifTest, DirectoriesPointingAtEachOther) {
  // GPS -> main table walk of the first directory -> GPS …: a loop of two.
  const std::uint32_t first = w.nextOffset();
  const std::uint32_t second = first + 2 + 12 + 4;
  w.addDirectory({w.longValue(0x8825, second)});
  w.addDirectory({w.longValue(0x8769, first)});
  ASSERT_TRUE(read(w.block(first)));
}

TEST_F(HostileExifTest, ValueOffsetsPastTheEndOrNegative) {
  // Offsets beyond the block or below its start give empty values.
  const std::uint32_t first = w.addDirectory({{0x010F, 2, 20, ""}, {0x0110, 2, 20, ""}});
  std::string block = w.block(first);
  const std::size_t entries = first + 2;
  block.replace(entries + 8, 4, w.u32(0x7FFFFFF0));
  block.replace(entries + 12 + 8, 4, w.u32(0x80000000));
  ASSERT_TRUE(read(block));
  EXPECT_EQ(data.Exif->CameraMake, "");
  EXPECT_EQ(data.Exif->CameraModel, "");
}

TEST_F(HostileExifTest, HugeComponentCount) {
  // count × size far beyond the file must not size any buffer.
  const std::uint32_t first = w.addDirectory({{0x0111, 4, 0xFFFFFFFF, w.u32(8)}, {0x0102, 5, 0x40000000, w.u32(8)}});
  std::string block = w.block(first);
  block.replace(first + 2 + 8, 4, w.u32(8));
  block.replace(first + 2 + 12 + 8, 4, w.u32(8));
  ASSERT_TRUE(read(block));
  EXPECT_LE(data.Exif->EntryOfName("StripOffsets").RawBytes.size(), block.size());
}

TEST_F(HostileExifTest, ManyEntriesSharingOneLargeValue) {
  // 2500 entries each pointing at the same 30 kB value: copying them all
  // would take 75 MB from a 60 kB segment. The walk stops within its budget.
  const std::uint32_t value = w.addBytes(std::string(30000, 'v'));
  const std::uint32_t first = w.nextOffset();
  std::string directory = w.u16(2500);
  for (int i = 0; i < 2500; ++i) directory += w.u16(0x9C9C) + w.u16(1) + w.u32(30000) + w.u32(value);
  w.addBytes(directory + w.u32(0));
  EXPECT_FALSE(read(w.block(first)));
  EXPECT_EQ(data.ErrorText, "Illegal Exif construction");
}

TEST_F(HostileExifTest, SegmentTooShortForTheHeader) {
  // "Exif" and a byte order, but no first-directory offset.
  EXPECT_FALSE(data.ReadMetadataFromMemory(jpegOf({segment(0xE1, std::string("Exif\0\0MM", 8))}), ".jpg"));
  EXPECT_EQ(data.ErrorText, "Illegal Exif construction");
}

TEST_F(HostileExifTest, SegmentLengthsPastTheEndOfTheFile) {
  // The length field promises 65533 bytes that never come; the partial
  // segment is parsed as far as it goes.
  const std::uint32_t first = w.addDirectory({w.ascii(0x010F, "Cut")});
  const std::string truncated = std::string("\xFF\xD8\xFF\xE1\xFF\xFF", 6) + "Exif" + std::string(2, '\0') + w.block(first);
  ASSERT_TRUE(data.ReadMetadataFromMemory(truncated, ".jpg"));
  EXPECT_EQ(data.Exif->CameraMake, "Cut");
}

TEST_F(HostileExifTest, SegmentLengthsBelowTwo) {
  // Lengths 0 and 1 would make a negative payload size.
  const std::string bytes = std::string("\xFF\xD8\xFF\xFE\x00\x00\xFF\xFE\x00\x01\xFF\xDA\x00\x02", 14);
  ASSERT_TRUE(data.ReadMetadataFromMemory(bytes, ".jpg"));
  EXPECT_EQ(data.CommentText(), "");
}

TEST_F(HostileExifTest, OnlyFillBytesAfterTheStart) {
  // A run of 0xFF fill bytes up to the end of the file.
  EXPECT_FALSE(data.ReadMetadataFromMemory(std::string("\xFF\xD8") + std::string(1000, '\xFF'), ".jpg"));
  EXPECT_EQ(data.ErrorText, "Not an EXIF file");
}

TEST_F(HostileExifTest, TiffDirectoryFarBeyondTheFile) {
  // A first-directory offset near 4 GB must not make the reader seek or
  // allocate that far.
  ASSERT_TRUE(data.ReadMetadataFromMemory(std::string("MM\0*\xFF\xFF\xFF\xF0", 8) + std::string(100, '\0'), ".nef"));
  EXPECT_EQ(data.Exif->EntryCount(), 0);
}

TEST_F(HostileExifTest, DatesOutsideTheBlockAreNotWritten) {
  // A date position from a damaged entry must not let a writer patch memory
  // outside the block.
  ASSERT_TRUE(read(w.block(0) + std::string(2, '\0')));
  EXPECT_FALSE(data.Exif->DateAt(100000));
  EXPECT_THROW(data.Exif->PutDateAt(data.Exif->Buffer.size() - 5, {2000, 1, 1, 0, 0, 0, 0}), Error);
}

}  // namespace
}  // namespace vistrel::metadata
