#pragma once

#include <string_view>

namespace vistrel::platform {

// Compares two UTF-8 texts the way the user's locale orders words, telling
// upper from lower case. Negative when a comes first, 0 when equal.
int compareLocaleText(std::string_view a, std::string_view b);

}  // namespace vistrel::platform
