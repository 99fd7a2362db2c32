#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/error.h"

namespace vistrel::imaging {

// Little- and big-endian reads at an offset, each checked against the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes, const char* shortMessage = "Stream read error")
      : bytes_(bytes), shortMessage_(shortMessage) {}

  std::size_t size() const { return bytes_.size(); }
  bool has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  std::span<const std::uint8_t> slice(std::size_t offset, std::size_t count) const {
    enforce(has(offset, count), shortMessage_);
    return bytes_.subspan(offset, count);
  }
  std::uint8_t u8(std::size_t offset) const { return slice(offset, 1)[0]; }
  std::uint16_t le16(std::size_t offset) const {
    const auto b = slice(offset, 2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::uint32_t le32(std::size_t offset) const {
    const auto b = slice(offset, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  }
  std::uint16_t be16(std::size_t offset) const {
    const auto b = slice(offset, 2);
    return static_cast<std::uint16_t>(b[0] << 8 | b[1]);
  }
  std::uint32_t be32(std::size_t offset) const {
    const auto b = slice(offset, 4);
    return static_cast<std::uint32_t>(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3];
  }

 private:
  std::span<const std::uint8_t> bytes_;
  const char* shortMessage_;
};

}  // namespace vistrel::imaging
