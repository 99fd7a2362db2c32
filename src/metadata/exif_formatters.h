#pragma once

#include <string>

namespace vistrel::metadata {

// The formatters of the standard tag tables; each takes the formatted value.

// ComponentsConfiguration: the quoted bytes 1…6 as Y, Cb, Cr, R, G, B.
std::string ComponentLettersText(const std::string& text);
// ShutterSpeedValue (an APEX value v): "0.0078 sec (1/128)".
std::string ShutterSpeedText(const std::string& text);
// Flash: the bits in words, "On, auto mode, red-eye reduction".
std::string FlashText(const std::string& text);
// UserComment: without its 8-byte character-code header.
std::string WithoutCharacterCodeText(const std::string& text);
// The Windows title/comment tags: UCS-2 numbers, every other one a character.
std::string EveryOtherCharacterText(const std::string& text);
// GPS coordinates "d/1, m/1, s/1" in degrees, minutes and seconds.
std::string DegreesText(const std::string& text);
// GPS time stamp "h:m:s".
std::string TimeText(const std::string& text);

}  // namespace vistrel::metadata
