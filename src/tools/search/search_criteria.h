#pragma once

#include <cstdint>

#include "platform/dates.h"
#include "tools/search/my_ff.h"

namespace vistrel::search {

// "Size is:" of the search window.
enum class SizeRule { Ignore, AtLeast, AtMost };

// The size bound of the rule, the number taken as KB of 1024 bytes.
void applySizeRule(FileCriteria& criteria, SizeRule rule, std::uint64_t kilobytes);

// "Find all files modified between" two local days: from the first day's
// 00:00 to the 00:00 that ends the last day, both included, within 1 January
// 1980 and 1 January 2100; the days may come in either order.
void applyModifiedBetween(FileCriteria& criteria, const platform::DateTime& firstDay,
                          const platform::DateTime& lastDay);

}  // namespace vistrel::search
