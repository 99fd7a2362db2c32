#include "tools/rename/series_names.h"

#include "platform/text.h"

namespace vistrel::rename {

bool wantsDateStamp(std::string_view pattern) { return pattern.find("%d") != std::string_view::npos; }

std::string dateStamp(const platform::DateTime& date, const RenameSettings& settings) {
  std::string stamp = platform::formatDateTime(date, settings.dateFormat);
  if (!settings.timeFormat.empty()) stamp += settings.separator + platform::formatDateTime(date, settings.timeFormat);
  for (char& c : stamp) {
    if (c == '.' || kRefusedCharacters.find(c) != std::string_view::npos) c = '_';
  }
  return stamp;
}

std::string numberText(long long number, int digits) {
  std::string text = std::to_string(number);
  if (text.size() < std::size_t(digits)) text.insert(0, std::size_t(digits) - text.size(), '0');
  return text;
}

std::string expandPattern(std::string_view pattern, std::string_view stamp, std::string_view number) {
  std::string name;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '#') {
      name += number;
    } else if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 'd' || pattern[i + 1] == 'D')) {
      name += stamp;
      ++i;
    } else {
      name += pattern[i];
    }
  }
  return name;
}

std::string sampleName(const RenameSettings& settings, const platform::DateTime& now) {
  const std::string pattern = settings.pattern.empty() ? "#" : settings.pattern;
  const std::string stamp = wantsDateStamp(pattern) ? dateStamp(now, settings) : std::string();
  const std::string name = expandPattern(pattern, stamp, numberText(settings.startNumber, settings.digits));
  return settings.lowerCase ? platform::lowerCase(name) : name;
}

}  // namespace vistrel::rename
