#include "tools/search/ti_search.h"

namespace vistrel::search {

TTISearch::TTISearch(std::string_view phrase) {
  for (int byte = 0; byte < 256; ++byte) {
    lower_[std::size_t(byte)] = static_cast<unsigned char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
  }
  for (const char c : phrase) phrase_ += static_cast<char>(lower_[static_cast<unsigned char>(c)]);
  const std::size_t m = phrase_.size();
  std::array<std::size_t, 256> byLower;
  byLower.fill(m + 1);
  for (std::size_t i = 0; i < m; ++i) byLower[static_cast<unsigned char>(phrase_[i])] = m - i;
  for (std::size_t byte = 0; byte < 256; ++byte) shift_[byte] = byLower[lower_[byte]];
}

TTISearch::Scan TTISearch::Find(std::string_view text, std::size_t from) const {
  const std::size_t m = phrase_.size(), n = text.size();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const auto* phrase = reinterpret_cast<const unsigned char*>(phrase_.data());
  std::size_t pos = from;
  while (pos + m <= n) {
    std::size_t j = m;
    while (j > 0 && lower_[bytes[pos + j - 1]] == phrase[j - 1]) --j;
    if (j == 0) return {true, pos};
    if (pos + m == n) break;  // the shift needs the byte after the window
    pos += shift_[bytes[pos + m]];
  }
  return {false, pos};
}

}  // namespace vistrel::search
