#pragma once

#include <string>
#include <string_view>

#include "platform/dates.h"
#include "tools/rename/rename_settings.h"

namespace vistrel::rename {

// The rules that turn a pattern into a file name. In a pattern "#" stands for
// the running number and "%d" (in any case) for the date stamp.

// Characters a pattern may not hold: they would make a name a path.
inline constexpr std::string_view kRefusedCharacters = "\\/:*?\"<>|";

// Whether the pattern asks for the date stamp: only "%d" in lower case does,
// a lone "%D" is dropped from the name.
bool wantsDateStamp(std::string_view pattern);
// The date, then the separator and the time when there is a time format, with
// each character that a name must not hold, and the full stop, made "_".
std::string dateStamp(const platform::DateTime& date, const RenameSettings& settings);
// The number with leading zeros up to `digits` digits.
std::string numberText(long long number, int digits);
// Each "%d" (any case) becomes the stamp and each "#" the number text; what
// the stamp brings in is not read as placeholders again.
std::string expandPattern(std::string_view pattern, std::string_view stamp, std::string_view number);
// The name the dialog shows as a sample: now, and the start number.
std::string sampleName(const RenameSettings& settings, const platform::DateTime& now);

}  // namespace vistrel::rename
