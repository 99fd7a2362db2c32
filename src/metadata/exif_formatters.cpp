#include "metadata/exif_formatters.h"

#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "metadata/exif_text.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

long long integerOf(std::string_view text) { return platform::parseInteger(platform::trimBlanks(text)).value_or(0); }

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const auto at = text.find(separator, start);
    parts.push_back(text.substr(start, at - start));
    if (at == std::string_view::npos) return parts;
    start = at + separator.size();
  }
}

// Degrees, minutes and seconds of a GPS triple; missing parts count as 0.
std::array<double, 3> gpsTriple(std::string_view text) {
  std::array<double, 3> values{};
  const auto parts = split(text, ", ");
  for (std::size_t i = 0; i < values.size() && i < parts.size(); ++i) values[i] = FractionValue(parts[i]);
  return values;
}

}  // namespace

std::string ComponentLettersText(const std::string& text) {
  static constexpr std::array<const char*, 7> letters = {"", "Y", "Cb", "Cr", "R", "G", "B"};
  std::string result;
  for (const char c : std::string_view(text).substr(std::min<std::size_t>(1, text.size()), 4)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < letters.size()) result += letters[byte];
  }
  return result;
}

std::string ShutterSpeedText(const std::string& text) {
  const double seconds = 1.0 / std::pow(2.0, FractionValue(text));
  std::string result = FormatReal("%4.4f sec", seconds);
  // A hostile value can make the reciprocal too large for an integer.
  if (seconds <= 0.5 && 1.0 / seconds < 1e9) result += " (1/" + std::to_string(std::lround(1.0 / seconds)) + ")";
  return result;
}

std::string FlashText(const std::string& text) {
  const long long n = integerOf(text);
  std::string result = (n & 1) ? "On" : "Off";
  switch (n & 6) {
    case 2: result += ", UNKNOWN"; break;
    case 4: result += ", no strobe return"; break;
    case 6: result += ", strobe return"; break;
    default: break;
  }
  switch (n & 24) {
    case 8: result += ", forced"; break;
    case 16: result += ", surpressed"; break;
    case 24: result += ", auto mode"; break;
    default: break;
  }
  if (n & 32) result += ", no flash function";
  if (n & 64) result += ", red-eye reduction";
  return result;
}

std::string WithoutCharacterCodeText(const std::string& text) { return text.size() > 8 ? text.substr(8) : ""; }

std::string EveryOtherCharacterText(const std::string& text) {
  const auto items = split(text, ",");
  std::string result;
  // The items up to the number of commas: the last one is never taken.
  for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
    const auto low = static_cast<char>(integerOf(items[i]) & 0xFF);
    if (low != 0) result += low;
  }
  return result;
}

std::string DegreesText(const std::string& text) {
  auto [degrees, minutes, seconds] = gpsTriple(text);
  if (seconds == 0) {
    seconds = (minutes - std::trunc(minutes)) * 100 * 0.6;
    minutes = std::trunc(minutes);
  }
  return FormatReal("%0.0f Degrees ", degrees) + FormatReal("%0.0f Minutes ", minutes) +
         FormatReal("%0.0f Seconds", seconds);
}

std::string TimeText(const std::string& text) {
  const auto [hours, minutes, seconds] = gpsTriple(text);
  return FormatReal("%0.0f:", hours) + FormatReal("%0.0f:", minutes) + FormatReal("%0.0f", seconds);
}

}  // namespace vistrel::metadata
