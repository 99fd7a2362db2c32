#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vistrel::test {

// Writes TIFF-structured EXIF blocks byte by byte, so that tests can make
// exactly the block they need: well-formed, or broken in one chosen way.
class TiffWriter {
 public:
  struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::string value;  // the value's bytes; longer than 4 goes behind the directory
  };

  explicit TiffWriter(bool bigEndian);

  std::string u16(std::uint16_t value) const;
  std::string u32(std::uint32_t value) const;

  Entry ascii(std::uint16_t tag, const std::string& text) const;
  Entry shortValue(std::uint16_t tag, std::uint16_t value) const;
  Entry longValue(std::uint16_t tag, std::uint32_t value) const;
  Entry rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) const;
  Entry undefined(std::uint16_t tag, const std::string& bytes) const;
  Entry shorts(std::uint16_t tag, const std::vector<std::uint16_t>& values) const;
  Entry longs(std::uint16_t tag, const std::vector<std::uint32_t>& values) const;
  // Numerator and denominator pairs; `type` 5 (RATIONAL) or 10 (SRATIONAL).
  Entry rationals(std::uint16_t tag, const std::vector<std::uint32_t>& pairs, std::uint16_t type = 5) const;

  // A directory and its out-of-line values, for the offset `at` (of
  // whatever the offsets count from).
  std::string directory(const std::vector<Entry>& entries, std::uint32_t at, std::uint32_t next = 0) const;
  // Appends a directory and its out-of-line values; returns its TIFF offset.
  std::uint32_t addDirectory(const std::vector<Entry>& entries, std::uint32_t next = 0);
  // The offset the next directory will get.
  std::uint32_t nextOffset() const;
  // Appends raw bytes at an even offset (for blocks broken on purpose, and
  // maker notes); returns their offset.
  std::uint32_t addBytes(const std::string& bytes);
  // Header ("II"/"MM", 42, first directory offset) and everything added.
  std::string block(std::uint32_t firstDirectory) const;

 private:
  bool bigEndian_;
  std::string body_ = std::string(8, '\0');
};

// A JPEG segment: 0xFF, marker, big-endian length, payload.
std::string segment(int marker, const std::string& payload);
// SOI, the segments, and a start of scan (the reader never goes further).
std::string jpegOf(const std::vector<std::string>& segments);
std::string exifSegment(const std::string& tiffBlock);

}  // namespace vistrel::test
