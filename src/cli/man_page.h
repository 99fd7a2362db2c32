#pragma once

#include <string>

namespace vistrel::cli {

// The manual page (roff, section 1) made from the same command table and texts
// as --help, so that the two never disagree. The build writes it with the
// hidden option "vistrel --man-page".
std::string manPage();

}  // namespace vistrel::cli
