#include "gallery/html_text.h"

#include "platform/text.h"

namespace vistrel::gallery {

std::string htmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string pageUrl(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto unreserved = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
  };
  std::string out;
  out.reserve(path.size());
  for (const char c : path) {
    if (unreserved(c) || c == '/') {
      out += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

std::string replaceAllIgnoreCase(std::string text, std::string_view what, std::string_view with) {
  if (what.empty()) return text;
  const std::string needle = platform::asciiLower(what);
  std::size_t from = 0;
  for (;;) {
    // Lower-casing keeps every byte in place, so positions carry over.
    const std::size_t at = platform::asciiLower(text).find(needle, from);
    if (at == std::string::npos) return text;
    text.replace(at, what.size(), with);
    from = at + with.size();
  }
}

}  // namespace vistrel::gallery
