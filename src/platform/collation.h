#pragma once

#include <string_view>

namespace vistrel::platform {

// Compares two UTF-8 texts the way the user's locale orders words: accented
// letters sort with their letter, and upper and lower case together, case
// deciding only between texts that differ in nothing else. With
// numbersByValue, a run of digits counts as the number it makes ("img2"
// before "img10"). The C locale, which knows no words, orders as English
// does. Negative when a comes first, 0 when equal.
int compareLocaleText(std::string_view a, std::string_view b, bool numbersByValue);

}  // namespace vistrel::platform
