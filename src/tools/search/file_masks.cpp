#include "tools/search/file_masks.h"

#include <algorithm>

#include "platform/case_folding.h"
#include "platform/text.h"

namespace vistrel::search {

std::vector<std::string> parseMaskList(std::string_view text) {
  std::string list(text);
  std::replace(list.begin(), list.end(), ',', ';');
  std::vector<std::string> masks;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(';', start), list.size());
    std::string mask =
        platform::lowerCaseSameLength(platform::trimBlanks(std::string_view(list).substr(start, end - start)));
    start = end + 1;
    if (mask.empty()) continue;
    const bool star = mask.find('*') != std::string::npos, dot = mask.find('.') != std::string::npos;
    if (!star && !dot) {
      mask = "*" + mask + "*";
    } else if (star && !dot && mask.back() != '*') {
      mask += '*';
    }
    masks.push_back(std::move(mask));
  }
  if (masks.empty()) masks.emplace_back("*");
  std::sort(masks.begin(), masks.end());
  masks.erase(std::unique(masks.begin(), masks.end()), masks.end());
  return masks;
}

bool maskMatches(std::string_view mask, std::string_view name) {
  if (mask == "*") return true;
  if (mask == "*.*") return name.find('.') != std::string_view::npos;
  if (mask.find_first_of("*?") == std::string_view::npos) return mask == name;
  std::size_t cursor = 0;
  bool starPending = false;
  std::size_t i = 0;
  while (i < mask.size()) {
    if (mask[i] == '*') {
      starPending = true;
      ++i;
      continue;
    }
    if (mask[i] == '?') {
      if (cursor >= name.size()) return false;
      ++cursor;
      ++i;
      continue;
    }
    const std::size_t runEnd = std::min(mask.find_first_of("*?", i), mask.size());
    const std::string_view run = mask.substr(i, runEnd - i);
    i = runEnd;
    if (starPending) {
      const std::size_t found = name.find(run, cursor);
      if (found == std::string_view::npos) return false;
      cursor = found + run.size();
      starPending = false;
    } else {
      if (name.substr(cursor, run.size()) != run) return false;
      cursor += run.size();
    }
  }
  return starPending || cursor == name.size();
}

bool anyMaskMatches(const std::vector<std::string>& masks, std::string_view name) {
  return std::any_of(masks.begin(), masks.end(), [&](const std::string& mask) { return maskMatches(mask, name); });
}

}  // namespace vistrel::search
