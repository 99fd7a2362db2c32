#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel::metadata {

// How EXIF values become texts. Integer components are read as unsigned
// numbers kept in a signed 32-bit integer, as the listing has always shown them
// (a SHORT 65535 stays 65535, a LONG 4294967295 shows -1).

// The value as a number: the first component of integer types, numerator over
// denominator of rationals (0 for a zero denominator), 0 for texts.
double NumericValueOf(std::string_view rawBytes, std::uint16_t format, bool bigEndian);
// At most 8 components joined by ", ", decoded through the decode list, then
// put through the format string ("%s" takes the text, others the number).
std::string FormatComponents(std::string_view rawBytes, std::uint16_t format, std::string_view decodeList,
                             std::string_view formatString, bool bigEndian);
// Every component joined by ", ", as numbers: what the maker-note
// formatters unpack.
std::string AllComponents(std::string_view rawBytes, std::uint16_t format, bool bigEndian);
// The meaning of a value in a "value:meaning,…" list; empty when not listed.
std::string DecodeValue(std::string_view decodeList, std::string_view value);
// "n/d" or "w n/d" as a number; 0 when it does not parse.
double FractionValue(std::string_view text);
// At most the first 50 bytes, ending between characters; control characters
// shown as ".".
std::string PrintableText(std::string_view text);
// The first 16 bytes as "4A 46 " …, with "..." when there were more.
std::string HexText(std::string_view bytes);
// "ExposureTime" -> "Exposure Time": a blank before each capital that follows a
// non-capital.
std::string SpacedName(std::string_view name);

// printf-style formatting of one real number with a format from our tables.
std::string FormatReal(const char* format, double value);

}  // namespace vistrel::metadata
