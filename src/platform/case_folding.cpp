#include "platform/case_folding.h"

#include <QChar>

#include "platform/text.h"

namespace vistrel::platform {
namespace {

std::size_t encodedLength(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

char32_t decode(std::string_view sequence) {
  const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(sequence[i])); };
  char32_t c = byte(0) & (0xFF >> (sequence.size() + 1));
  for (std::size_t i = 1; i < sequence.size(); ++i) c = c << 6 | (byte(i) & 0x3F);
  return c;
}

void encode(char32_t c, char* out, std::size_t length) {
  static constexpr unsigned char kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
  for (std::size_t i = length - 1; i > 0; --i, c >>= 6) out[i] = static_cast<char>(0x80 | (c & 0x3F));
  out[0] = static_cast<char>(kLead[length] | c);
}

std::size_t sequenceLengthOf(unsigned char lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

template <typename Map>
std::string mapSameLength(std::string_view text, char from, Map map) {
  std::string out(text);
  const bool utf8 = isValidUtf8(text);
  for (std::size_t i = 0; i < out.size();) {
    const auto lead = static_cast<unsigned char>(out[i]);
    if (lead < 0x80 || !utf8) {
      if (out[i] >= from && out[i] <= from + 25) out[i] = static_cast<char>(out[i] ^ 0x20);
      ++i;
      continue;
    }
    const std::size_t length = sequenceLengthOf(lead);
    const char32_t mapped = map(decode(std::string_view(out).substr(i, length)));
    if (encodedLength(mapped) == length) encode(mapped, &out[i], length);
    i += length;
  }
  return out;
}

}  // namespace

std::string upperCaseSameLength(std::string_view text) {
  return mapSameLength(text, 'a', [](char32_t c) { return QChar::toUpper(c); });
}

std::string lowerCaseSameLength(std::string_view text) {
  return mapSameLength(text, 'A', [](char32_t c) { return QChar::toLower(c); });
}

}  // namespace vistrel::platform
