#include "ftp/remote_listing.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "platform/text.h"

namespace vistrel::ftp {
namespace {

std::optional<std::uint64_t> number(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

bool isParentOrSelf(std::string_view name) { return name == "." || name == ".."; }

// Splits off the first blank-separated word; the rest keeps its inner blanks.
std::string_view nextWord(std::string_view& text) {
  const auto start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    text = {};
    return {};
  }
  text.remove_prefix(start);
  const auto end = std::min(text.find(' '), text.size());
  const std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

bool isMonth(std::string_view word) {
  static constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                                "jul", "aug", "sep", "oct", "nov", "dec"};
  return word.size() == 3 &&
         std::any_of(kMonths.begin(), kMonths.end(), [&](auto m) { return platform::equalsIgnoreCase(word, m); });
}

// "drwxr-xr-x 2 user group 4096 Mar 3 2020 name": the size is the word before
// the month, as servers differ in the owner and group columns; the name is
// what follows the time or year after exactly one blank.
std::optional<RemoteEntry> parseUnixLine(std::string_view line) {
  const char type = line.front();
  std::string_view rest = line;
  std::string_view previous;
  for (std::string_view word = nextWord(rest); !word.empty(); word = nextWord(rest)) {
    if (!isMonth(word) || !number(previous)) {
      previous = word;
      continue;
    }
    std::string_view after = rest;
    const std::string_view day = nextWord(after);
    const std::string_view timeOrYear = nextWord(after);
    if (!number(day) || timeOrYear.empty() || after.size() < 2 || after.front() != ' ') {
      previous = word;
      continue;
    }
    std::string_view name = after.substr(1);
    if (type == 'l') name = name.substr(0, name.find(" -> "));
    if (name.empty() || isParentOrSelf(name)) return std::nullopt;
    return RemoteEntry{std::string(name), type == 'd', number(previous)};
  }
  return std::nullopt;
}

// "03-03-20  12:00PM       12345 name" or "03-03-2020  12:00  <DIR>  name".
std::optional<RemoteEntry> parseDosLine(std::string_view line) {
  std::string_view rest = line;
  const std::string_view date = nextWord(rest);
  const std::string_view time = nextWord(rest);
  const std::string_view sizeOrDir = nextWord(rest);
  if (date.size() < 8 || time.size() < 4 || rest.size() < 2) return std::nullopt;
  const auto start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  const std::string_view name = rest.substr(start);
  const bool folder = platform::equalsIgnoreCase(sizeOrDir, "<DIR>");
  const auto size = number(sizeOrDir);
  if ((!folder && !size) || isParentOrSelf(name)) return std::nullopt;
  return RemoteEntry{std::string(name), folder, folder ? std::nullopt : size};
}

}  // namespace

std::optional<RemoteEntry> parseMlsdLine(std::string_view line) {
  // The facts end at the first blank; the name is all after it.
  const auto blank = line.find(' ');
  if (blank == std::string_view::npos || blank + 1 >= line.size()) return std::nullopt;
  std::string_view facts = line.substr(0, blank);
  RemoteEntry entry{std::string(line.substr(blank + 1)), false, std::nullopt};
  bool typed = false;
  while (!facts.empty()) {
    const auto end = std::min(facts.find(';'), facts.size());
    const std::string_view fact = facts.substr(0, end);
    facts.remove_prefix(std::min(end + 1, facts.size()));
    const auto equals = fact.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = fact.substr(0, equals);
    const std::string_view value = fact.substr(equals + 1);
    if (platform::equalsIgnoreCase(key, "type")) {
      if (platform::equalsIgnoreCase(value, "cdir") || platform::equalsIgnoreCase(value, "pdir")) return std::nullopt;
      entry.folder = platform::equalsIgnoreCase(value, "dir");
      typed = true;
    } else if (platform::equalsIgnoreCase(key, "size")) {
      entry.size = number(value);
    }
  }
  if (!typed || isParentOrSelf(entry.name)) return std::nullopt;
  return entry;
}

std::optional<RemoteEntry> parseListLine(std::string_view line) {
  if (line.empty()) return std::nullopt;
  if (std::isdigit(static_cast<unsigned char>(line.front()))) return parseDosLine(line);
  if (std::string_view("-dlcbps").find(line.front()) == std::string_view::npos) return std::nullopt;
  return parseUnixLine(line);
}

std::vector<RemoteEntry> parseListing(std::string_view text, bool mlsd) {
  std::vector<RemoteEntry> entries;
  while (!text.empty()) {
    const auto end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    auto entry = mlsd ? parseMlsdLine(line) : parseListLine(line);
    if (entry) entries.push_back(std::move(*entry));
  }
  return entries;
}

}  // namespace vistrel::ftp
