#include "tools/textreplace/text_replace.h"

#include "platform/case_folding.h"
#include "platform/text.h"

namespace vistrel::textreplace {
namespace {

bool isWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string asciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

// The key and how a line is made comparable to it.
class Matcher {
 public:
  explicit Matcher(const ReplaceRule& rule)
      : rule_(rule), unicodeKey_(platform::upperCaseSameLength(rule.find)), asciiKey_(asciiUpper(rule.find)) {}

  std::string replaceInLine(std::string_view line, int& count) const {
    const bool utf8 = platform::isValidUtf8(line);
    const std::string compare = rule_.caseSensitive ? std::string(line)
                                : utf8              ? platform::upperCaseSameLength(line)
                                                    : asciiUpper(line);
    const std::string& key = rule_.caseSensitive ? rule_.find : utf8 ? unicodeKey_ : asciiKey_;
    std::string out;
    std::size_t rest = 0;  // where the remainder starts
    for (std::size_t at; (at = compare.find(key, rest)) != std::string::npos; rest = at + key.size()) {
      const std::size_t end = at + key.size();
      const bool rejected = rule_.wholeWords && ((at > rest && isWordCharacter(line[at - 1])) ||
                                                 (end < line.size() && isWordCharacter(line[end])));
      out.append(line.substr(rest, at - rest));
      out.append(rejected ? line.substr(at, key.size()) : std::string_view(rule_.replace));
      if (!rejected) ++count;
    }
    out.append(line.substr(rest));
    return out;
  }

 private:
  const ReplaceRule& rule_;
  std::string unicodeKey_;
  std::string asciiKey_;
};

}  // namespace

Replaced replaceText(std::string_view text, const ReplaceRule& rule) {
  if (rule.find.empty() || rule.find.find_first_of("\r\n") != std::string::npos) return {std::string(text), 0};
  const Matcher matcher(rule);
  Replaced result;
  result.text.reserve(text.size());
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    result.text += matcher.replaceInLine(text.substr(start, end - start), result.count);
    const std::size_t breakLength = end == text.size() ? 0 : text.substr(end, 2) == "\r\n" ? 2 : 1;
    result.text.append(text.substr(end, breakLength));
    start = end + breakLength;
  }
  return result;
}

}  // namespace vistrel::textreplace
