#pragma once

#include <string>
#include <vector>

#include "metadata/maker_tables.h"

namespace vistrel::metadata {

// The formatters of the maker tag tables. Each takes the value's complete
// component list ("1, 2, 3" or the text of an ASCII value).

// Nikon colour mode ("MODE1"…) in words: "Mode1 (sRGB)".
std::string NikonColourModeText(const std::string& text);
// Nikon lens: four rationals as "18.0-55.0(mm)  F3.5-F5.6".
std::string NikonLensRangeText(const std::string& text);
// Canon camera settings and shot information: one line per known position.
std::vector<MakerLine> CanonSettings1Lines(const std::string& components);
std::vector<MakerLine> CanonSettings2Lines(const std::string& components);
// Canon custom functions: number and setting packed in each value.
std::vector<MakerLine> CanonCustomFunctionLines(const std::string& components);

}  // namespace vistrel::metadata
