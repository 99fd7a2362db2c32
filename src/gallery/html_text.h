#pragma once

#include <string>
#include <string_view>

namespace vistrel::gallery {

// Text from file names and metadata made safe to put into a page, also inside
// a quoted attribute: & < > " become entities.
std::string htmlEscape(std::string_view text);

// Every blank as "%20", for links when the program option asks for it.
std::string blanksAsPercent20(std::string_view text);

// Replaces every occurrence of `what`, found without regard to letter case;
// text inserted is not searched again.
std::string replaceAllIgnoreCase(std::string text, std::string_view what, std::string_view with);

}  // namespace vistrel::gallery
