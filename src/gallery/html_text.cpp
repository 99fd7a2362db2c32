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

std::string blanksAsPercent20(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == ' ') {
      out += "%20";
    } else {
      out += c;
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
