#include "cli/date_text.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vistrel::cli {

std::optional<platform::DateTime> parseDateText(std::string_view text, char dateSeparator, bool withTime) {
  // Digits where the pattern has '9', the pattern's own character elsewhere.
  std::string pattern = withTime ? "9999-99-99 99:99:99" : "9999-99-99";
  std::replace(pattern.begin(), pattern.end(), '-', dateSeparator);
  if (text.size() != pattern.size()) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) return std::nullopt;
  }
  const auto number = [&](std::size_t at, std::size_t length) {
    return std::stoi(std::string(text.substr(at, length)));
  };
  platform::DateTime date{number(0, 4), number(5, 2), number(8, 2), 0, 0, 0, 0};
  if (withTime) {
    date.hour = number(11, 2);
    date.minute = number(14, 2);
    date.second = number(17, 2);
  }
  if (!date.isValid()) return std::nullopt;
  return date;
}

}  // namespace vistrel::cli
