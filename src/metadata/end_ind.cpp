#include "metadata/end_ind.h"

#include <algorithm>

namespace vistrel::metadata {

std::uint32_t unsignedOf(std::string_view bytes, bool bigEndian) {
  std::uint32_t value = 0;
  const std::size_t size = std::min<std::size_t>(bytes.size(), 4);
  for (std::size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[bigEndian ? i : size - 1 - i]);
    value = (value << 8) | byte;
  }
  return value;
}

bool tEndInd::Contains(std::int64_t position, std::int64_t length) const {
  return position >= 1 && length >= 0 && position - 1 + length <= static_cast<std::int64_t>(Buffer.size());
}

std::uint16_t tEndInd::Word16At(std::int64_t position) const {
  enforce(Contains(position, 2), "Read past the end of the metadata block");
  return static_cast<std::uint16_t>(unsignedOf(std::string_view(Buffer).substr(position - 1, 2), BigEndian));
}

std::int32_t tEndInd::Long32At(std::int64_t position) const {
  enforce(Contains(position, 4), "Read past the end of the metadata block");
  return static_cast<std::int32_t>(unsignedOf(std::string_view(Buffer).substr(position - 1, 4), BigEndian));
}

std::string tEndInd::BytesAt(std::int64_t position, std::int64_t count) const {
  const auto size = static_cast<std::int64_t>(Buffer.size());
  if (position < 1 || position > size || count <= 0) return {};
  return Buffer.substr(position - 1, std::min(count, size - position + 1));
}

}  // namespace vistrel::metadata
