#include "platform/control_escapes.h"

#include <cstdio>

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
  if (heldC2_) {
    heldC2_ = false;
    if (byte >= 0x80 && byte <= 0x9F) return escaped("\\u%04x", byte);
    return '\xC2' + feed(c);
  }
  if (byte == 0xC2) {
    heldC2_ = true;
    return {};
  }
  if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) return escaped("\\x%02x", byte);
  return std::string(1, c);
}

std::string ControlEscaper::finish() {
  if (!heldC2_) return {};
  heldC2_ = false;
  return "\xC2";
}

std::string escapeControls(std::string_view text) {
  ControlEscaper escaper;
  std::string out;
  out.reserve(text.size());
  for (char c : text) out += escaper.feed(c);
  return out + escaper.finish();
}

}  // namespace vistrel::platform
