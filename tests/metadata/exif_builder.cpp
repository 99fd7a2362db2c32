#include "exif_builder.h"

namespace vistrel::test {

TiffWriter::TiffWriter(bool bigEndian) : bigEndian_(bigEndian) {}

std::string TiffWriter::u16(std::uint16_t value) const {
  const char high = static_cast<char>(value >> 8), low = static_cast<char>(value & 0xFF);
  return bigEndian_ ? std::string{high, low} : std::string{low, high};
}

std::string TiffWriter::u32(std::uint32_t value) const {
  const std::string high = u16(static_cast<std::uint16_t>(value >> 16));
  const std::string low = u16(static_cast<std::uint16_t>(value & 0xFFFF));
  return bigEndian_ ? high + low : low + high;
}

TiffWriter::Entry TiffWriter::ascii(std::uint16_t tag, const std::string& text) const {
  return {tag, 2, static_cast<std::uint32_t>(text.size() + 1), text + '\0'};
}

TiffWriter::Entry TiffWriter::shortValue(std::uint16_t tag, std::uint16_t value) const {
  return {tag, 3, 1, u16(value)};
}

TiffWriter::Entry TiffWriter::longValue(std::uint16_t tag, std::uint32_t value) const {
  return {tag, 4, 1, u32(value)};
}

TiffWriter::Entry TiffWriter::rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) const {
  return {tag, 5, 1, u32(numerator) + u32(denominator)};
}

TiffWriter::Entry TiffWriter::undefined(std::uint16_t tag, const std::string& bytes) const {
  return {tag, 7, static_cast<std::uint32_t>(bytes.size()), bytes};
}

TiffWriter::Entry TiffWriter::shorts(std::uint16_t tag, const std::vector<std::uint16_t>& values) const {
  std::string bytes;
  for (const std::uint16_t value : values) bytes += u16(value);
  return {tag, 3, static_cast<std::uint32_t>(values.size()), bytes};
}

TiffWriter::Entry TiffWriter::longs(std::uint16_t tag, const std::vector<std::uint32_t>& values) const {
  std::string bytes;
  for (const std::uint32_t value : values) bytes += u32(value);
  return {tag, 4, static_cast<std::uint32_t>(values.size()), bytes};
}

TiffWriter::Entry TiffWriter::rationals(std::uint16_t tag, const std::vector<std::uint32_t>& pairs,
                                        std::uint16_t type) const {
  Entry entry = longs(tag, pairs);
  entry.type = type;
  entry.count /= 2;
  return entry;
}

std::uint32_t TiffWriter::nextOffset() const { return static_cast<std::uint32_t>(body_.size() + body_.size() % 2); }

std::uint32_t TiffWriter::addBytes(const std::string& bytes) {
  if (body_.size() % 2) body_ += '\0';
  const auto offset = static_cast<std::uint32_t>(body_.size());
  body_ += bytes;
  return offset;
}

std::string TiffWriter::directory(const std::vector<Entry>& entries, std::uint32_t at, std::uint32_t next) const {
  const auto dataOffset = static_cast<std::uint32_t>(at + 2 + 12 * entries.size() + 4);
  std::string bytes = u16(static_cast<std::uint16_t>(entries.size()));
  std::string data;
  for (const Entry& entry : entries) {
    bytes += u16(entry.tag) + u16(entry.type) + u32(entry.count);
    if (entry.value.size() <= 4) {
      bytes += entry.value + std::string(4 - entry.value.size(), '\0');
    } else {
      bytes += u32(dataOffset + static_cast<std::uint32_t>(data.size()));
      data += entry.value;
    }
  }
  return bytes + u32(next) + data;
}

std::uint32_t TiffWriter::addDirectory(const std::vector<Entry>& entries, std::uint32_t next) {
  return addBytes(directory(entries, nextOffset(), next));
}

std::string TiffWriter::block(std::uint32_t firstDirectory) const {
  return std::string(bigEndian_ ? "MM" : "II") + u16(42) + u32(firstDirectory) + body_.substr(8);
}

std::string segment(int marker, const std::string& payload) {
  const auto length = payload.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         payload;
}

std::string jpegOf(const std::vector<std::string>& segments) {
  std::string bytes = "\xFF\xD8";
  for (const std::string& s : segments) bytes += s;
  return bytes + segment(0xDA, std::string(10, '\0'));
}

std::string exifSegment(const std::string& tiffBlock) { return segment(0xE1, std::string("Exif\0\0", 6) + tiffBlock); }

}  // namespace vistrel::test
