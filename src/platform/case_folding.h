#pragma once

#include <string>
#include <string_view>

namespace vistrel::platform {

// Upper- and lower-case forms for comparing texts without regard to case.
// Every character of a UTF-8 text takes its simple case mapping where that
// has the same length in UTF-8, so an offset into the result is the same
// offset into the text. A text that is not valid UTF-8 has its ASCII letters
// mapped and every other byte left as it is.
std::string upperCaseSameLength(std::string_view text);
std::string lowerCaseSameLength(std::string_view text);

}  // namespace vistrel::platform
