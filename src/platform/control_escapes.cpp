#include "platform/control_escapes.h"

#include <cstdio>
#include <utility>

namespace vistrel::platform {
namespace {

std::string escaped(const char* format, unsigned char c) {
  char text[8];
  std::snprintf(text, sizeof text, format, c);
  return text;
}

}  // namespace

std::string ControlEscaper::feed(char c) {
  const auto byte = static_cast<unsigned char>(c);
  const Held held = std::exchange(held_, Held::Nothing);
  if (held == Held::C2) {
    if (byte >= 0x80 && byte <= 0x9F) return escaped("\\u%04x", byte);
    return '\xC2' + feed(c);
  }
  if (held == Held::Cr) return (c == '\n' ? "\r" : escaped("\\x%02x", '\r')) + feed(c);
  if (byte == 0xC2 || c == '\r') {
    held_ = c == '\r' ? Held::Cr : Held::C2;
    return {};
  }
  if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) return escaped("\\x%02x", byte);
  return std::string(1, c);
}

std::string ControlEscaper::finish() {
  const Held held = std::exchange(held_, Held::Nothing);
  if (held == Held::Cr) return escaped("\\x%02x", '\r');
  return held == Held::C2 ? "\xC2" : "";
}

std::string escapeControls(std::string_view text) {
  ControlEscaper escaper;
  std::string out;
  out.reserve(text.size());
  for (char c : text) out += escaper.feed(c);
  return out + escaper.finish();
}

}  // namespace vistrel::platform
