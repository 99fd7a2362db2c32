#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistrel::platform {

// Case folding of ASCII letters only: names of settings, INI keys and file
// extensions are ASCII, and other bytes of UTF-8 texts must pass unchanged.
std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string_view trimBlanks(std::string_view text);

// A decimal integer with an optional sign and nothing else; nothing when the
// text is not one or does not fit.
std::optional<long long> parseInteger(std::string_view text);

}  // namespace vistrel::platform
