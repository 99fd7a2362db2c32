#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace vistrel::metadata {

// The unsigned number in the first `size` (at most 4) bytes of `bytes`.
std::uint32_t unsignedOf(std::string_view bytes, bool bigEndian);

// A byte buffer with its byte order. Positions are 1-based, as the stored
// value positions (date fields, dimensions) that writers patch later are.
class tEndInd {
 public:
  bool BigEndian = false;  // "MM" data; false for "II"
  std::string Buffer;

  // Whether positions position … position + length − 1 all lie in the buffer.
  bool Contains(std::int64_t position, std::int64_t length) const;
  std::uint16_t Word16At(std::int64_t position) const;  // throws Error outside the buffer
  std::int32_t Long32At(std::int64_t position) const;   // throws Error outside the buffer
  // Up to `count` bytes from the position on, cut at the end of the buffer
  // (empty when the position lies outside it).
  std::string BytesAt(std::int64_t position, std::int64_t count) const;
};

}  // namespace vistrel::metadata
