#include "tools/search/search_criteria.h"

#include <algorithm>

namespace vistrel::search {
namespace {

// 00:00 of the day, `days` days later.
platform::SystemTime startOfDay(const platform::DateTime& day, int days) {
  static const platform::SystemTime kEarliest = platform::fromLocal({1980, 1, 1});
  static const platform::SystemTime kLatest = platform::fromLocal({2100, 1, 1});
  // mktime carries a day past the month's end into the next month.
  return std::clamp(platform::fromLocal({day.year, day.month, day.day + days}), kEarliest, kLatest);
}

}  // namespace

void applySizeRule(FileCriteria& criteria, SizeRule rule, std::uint64_t kilobytes) {
  if (rule == SizeRule::AtLeast) criteria.minSize = kilobytes * 1024;
  if (rule == SizeRule::AtMost) criteria.maxSize = kilobytes * 1024;
}

void applyModifiedBetween(FileCriteria& criteria, const platform::DateTime& firstDay,
                          const platform::DateTime& lastDay) {
  const platform::DateTime& first = std::min(firstDay, lastDay);
  const platform::DateTime& last = std::max(firstDay, lastDay);
  criteria.from = startOfDay(first, 0);
  criteria.to = startOfDay(last, 1);
}

}  // namespace vistrel::search
