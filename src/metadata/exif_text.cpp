#include "metadata/exif_text.h"

#include <bit>
#include <cstdio>

#include "metadata/end_ind.h"
#include "metadata/tag_entry.h"
#include "metadata/tag_tables.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

bool isRational(std::uint16_t format) { return format == kRational || format == kSRational; }
bool isReal(std::uint16_t format) { return format == kFloat || format == kDouble; }
bool isText(std::uint16_t format) { return format == kAscii || format == kUndefined; }

std::int32_t signedOf(std::string_view bytes, bool bigEndian) {
  return static_cast<std::int32_t>(unsignedOf(bytes, bigEndian));
}

double realOf(std::string_view bytes, std::uint16_t format, bool bigEndian) {
  if (format == kFloat) return bytes.size() < 4 ? 0.0 : std::bit_cast<float>(unsignedOf(bytes.substr(0, 4), bigEndian));
  if (bytes.size() < 8) return 0.0;
  const std::uint64_t first = unsignedOf(bytes.substr(0, 4), bigEndian);
  const std::uint64_t second = unsignedOf(bytes.substr(4, 4), bigEndian);
  return std::bit_cast<double>(bigEndian ? (first << 32 | second) : (second << 32 | first));
}

std::string componentText(std::string_view component, std::uint16_t format, std::string_view decodeList,
                          bool bigEndian) {
  if (isText(format) || format > kDouble) return "?";
  if (isReal(format)) return "-9999.99";
  if (isRational(format)) {
    std::string text = std::to_string(signedOf(component.substr(0, 4), bigEndian)) + "/" +
                       std::to_string(signedOf(component.substr(4, 4), bigEndian));
    if (!decodeList.empty()) text += DecodeValue(decodeList, text);
    return text;
  }
  const std::string number = std::to_string(signedOf(component, bigEndian));
  return decodeList.empty() ? number : DecodeValue(decodeList, number);
}

std::string joinedComponents(std::string_view rawBytes, std::uint16_t format, std::string_view decodeList,
                             bool bigEndian, std::size_t limit) {
  const int size = ComponentSize(format);
  if (size == 0) return "0";
  const std::size_t count = std::min<std::size_t>(rawBytes.size() / size, limit);
  std::string joined;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) joined += ", ";
    joined += componentText(rawBytes.substr(i * size, size), format, decodeList, bigEndian);
  }
  return joined;
}

}  // namespace

double NumericValueOf(std::string_view rawBytes, std::uint16_t format, bool bigEndian) {
  const int size = ComponentSize(format);
  if (size == 0 || isText(format)) return 0.0;
  if (isReal(format)) return realOf(rawBytes, format, bigEndian);
  if (isRational(format)) {
    if (rawBytes.size() < 8) return 0.0;
    const std::int32_t denominator = signedOf(rawBytes.substr(4, 4), bigEndian);
    return denominator == 0 ? 0.0 : static_cast<double>(signedOf(rawBytes.substr(0, 4), bigEndian)) / denominator;
  }
  return signedOf(rawBytes.substr(0, size), bigEndian);
}

std::string FormatComponents(std::string_view rawBytes, std::uint16_t format, std::string_view decodeList,
                             std::string_view formatString, bool bigEndian) {
  const std::string joined = joinedComponents(rawBytes, format, decodeList, bigEndian, 8);
  if (formatString.empty()) return joined;
  if (const auto at = formatString.find("%s"); at != std::string_view::npos) {
    return std::string(formatString.substr(0, at)) + joined + std::string(formatString.substr(at + 2));
  }
  return FormatReal(std::string(formatString).c_str(), NumericValueOf(rawBytes, format, bigEndian));
}

std::string AllComponents(std::string_view rawBytes, std::uint16_t format, bool bigEndian) {
  return joinedComponents(rawBytes, format, "", bigEndian, rawBytes.size());
}

std::string DecodeValue(std::string_view decodeList, std::string_view value) {
  const std::string list = "," + std::string(decodeList) + ",";
  const std::string key = "," + std::string(platform::trimBlanks(value)) + ":";
  const auto at = list.find(key);
  if (at == std::string::npos) return {};
  const auto start = at + key.size();
  return list.substr(start, list.find(',', start) - start);
}

double FractionValue(std::string_view text) {
  text = platform::trimBlanks(text);
  long long whole = 0;
  if (const auto blank = text.find(' '); blank != std::string_view::npos) {
    const auto parsed = platform::parseInteger(text.substr(0, blank));
    if (!parsed) return 0.0;
    whole = *parsed;
    text = platform::trimBlanks(text.substr(blank + 1));
  }
  const auto slash = text.find('/');
  if (slash == std::string_view::npos) return 0.0;
  const auto numerator = platform::parseInteger(text.substr(0, slash));
  const auto denominator = platform::parseInteger(text.substr(slash + 1));
  if (!numerator || !denominator || *denominator == 0) return 0.0;
  return (static_cast<double>(whole) * *denominator + *numerator) / *denominator;
}

std::string PrintableText(std::string_view text) {
  std::string result(platform::utf8Prefix(text, 50));
  for (char& c : result) {
    if (static_cast<unsigned char>(c) < 32) c = '.';
  }
  return result;
}

std::string HexText(std::string_view bytes) {
  std::string result;
  for (const char byte : bytes.substr(0, 16)) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", static_cast<unsigned char>(byte));
    result += hex;
  }
  if (bytes.size() > 16) result += "...";
  return result;
}

std::string SpacedName(std::string_view name) {
  const auto isCapital = [](char c) { return c >= 'A' && c <= 'Z'; };
  std::string result;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (i > 0 && isCapital(name[i]) && !isCapital(name[i - 1])) result += ' ';
    result += name[i];
  }
  return result;
}

std::string FormatReal(const char* format, double value) {
  const int length = std::snprintf(nullptr, 0, format, value);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, value);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace vistrel::metadata
