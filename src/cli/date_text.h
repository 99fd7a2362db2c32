#pragma once

#include <optional>
#include <string_view>

#include "platform/dates.h"

namespace vistrel::cli {

// A date "YYYY-MM-DD" (with `dateSeparator` in place of "-"), followed by a
// blank and "HH:MM:SS" when `withTime`; nothing for any other text or a day
// that does not exist.
std::optional<platform::DateTime> parseDateText(std::string_view text, char dateSeparator, bool withTime);

}  // namespace vistrel::cli
