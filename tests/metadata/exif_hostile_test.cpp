// Damaged and hostile EXIF blocks. Each case names the fault it guards
// against; every one must end in a clean result or error text, never a
// crash, a hang or a huge allocation (the sanitizer build runs these too).
#include <gtest/gtest.h>

#include "exif_builder.h"
#include "maker_note_samples.h"
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

// Maker notes: a directory format of each maker's own that no standard checks.
class HostileMakerNoteTest : public ::testing::Test {
 protected:
  TiffWriter w{true};
  TimgData owner;
  TImageInfo info{owner};
  TimgData data;

  // Walks `note` with the Canon table as if it lay at the start of `block`
  // (the note itself when empty), offsets counting from the note's start.
  void walk(const std::string& note, const std::string& block = "") {
    info.Buffer = block.empty() ? note : block;
    info.BigEndian = true;
    info.MakerNotePos = 1;
    const std::string before = info.Buffer;
    info.ReadMakerDirectory(note, MakerTagTable(MakerTable::Canon), 1, 1, 1, true);
    EXPECT_EQ(info.Buffer, before);
    EXPECT_TRUE(info.BigEndian);
  }
};

TEST_F(HostileMakerNoteTest, CountLargerThanTheNote) {
  // 65535 entries claimed in a 40-byte note.
  walk(w.u16(0xFFFF) + std::string(38, '\0'));
  EXPECT_EQ(owner.ErrorText, "Error Detected = Illegally sized directory");
  EXPECT_EQ(info.MakerNoteListing, "");
  EXPECT_EQ(info.EntryCount(), 0);
}

TEST_F(HostileMakerNoteTest, ValueOffsetPastTheEndKeepsTheLinesBefore) {
  std::string note = w.directory({w.ascii(0x0006, "abc"), w.ascii(0x0009, std::string(19, 'o'))}, 0);
  note.replace(2 + 12 + 8, 4, w.u32(0x7FFFFFF0));
  walk(note);
  EXPECT_EQ(owner.ErrorText, "Error Detected = A value lies outside the EXIF block");
  EXPECT_EQ(info.MakerNoteListing, "\r\nImageType = abc.");
}

TEST_F(HostileMakerNoteTest, CountTimesSizeBeyondAnyBlock) {
  // 4 G doubles: the size must neither wrap nor size a buffer.
  walk(w.directory({{0x0008, 12, 0xFFFFFFFF, w.u32(100)}}, 0));
  EXPECT_EQ(owner.ErrorText, "Error Detected = A value lies outside the EXIF block");
}

TEST_F(HostileMakerNoteTest, ValuePointingBackIntoItsDirectory) {
  // A value whose bytes are the directory's own entries: the shape of a loop.
  std::string note = w.directory({w.ascii(0x0009, std::string(11, 'o'))}, 0);
  note.replace(2 + 8, 4, w.u32(0));
  walk(note);
  EXPECT_EQ(owner.ErrorText, "Error Detected = A value points back into its directory");
}

TEST_F(HostileMakerNoteTest, ValueBehindTheNoteIsReadFromTheBlock) {
  // Sound, not hostile: an offset past the note that stays inside the block.
  const std::string note = w.directory({w.ascii(0x0009, "Owner name")}, 0).substr(0, 18);
  walk(note, note + "Owner name" + '\0');
  EXPECT_EQ(owner.ErrorText, "");
  EXPECT_EQ(info.MakerNoteListing, "\r\nOwnerName = Owner name.");
}

TEST_F(HostileMakerNoteTest, NoteThatIsTheDirectoryHoldingIt) {
  // The MakerNote entry points at its own directory, which is walked as the
  // note: the note's values point back into it, and reading ends.
  const std::uint32_t exifDirectory = w.nextOffset();
  w.addDirectory({{0x927C, 7, 30, w.u32(exifDirectory)}, w.undefined(0x9000, "0220")});
  const std::uint32_t first = w.addDirectory({w.ascii(0x010F, "Canon"), w.longValue(0x8769, exifDirectory)});
  ASSERT_TRUE(data.ReadMetadataFromMemory(jpegOf({exifSegment(w.block(first))}), ".jpg"));
  EXPECT_TRUE(data.Exif->MakerNoteResult);
  EXPECT_EQ(data.Exif->MakerNoteListing, "");
}

TEST_F(HostileMakerNoteTest, ManyNotesSharingOneLargeValue) {
  // 2000 MakerNote entries each decode a note whose one value is a 30 kB run
  // of the block: 60 MB of copies from a 60 kB segment. One budget covers
  // the block and its notes.
  const std::uint32_t value = w.addBytes(std::string(30000, 'v'));
  const std::uint32_t note = w.addBytes(w.directory({{0x0009, 2, 30000, w.u32(value)}}, 0));
  const std::vector<TiffWriter::Entry> notes(2000, {0x927C, 7, 18, w.u32(note)});
  const std::uint32_t exifDirectory = w.addDirectory(notes);
  const std::uint32_t first = w.addDirectory({w.ascii(0x010F, "Canon"), w.longValue(0x8769, exifDirectory)});
  ASSERT_TRUE(data.ReadMetadataFromMemory(jpegOf({exifSegment(w.block(first))}), ".jpg"));
  std::size_t copied = 0;
  for (const TTagEntry& entry : data.Exif->Entries) copied += entry.RawBytes.size();
  EXPECT_LT(copied, std::size_t{9} << 20);
}

}  // namespace
}  // namespace vistrel::metadata
