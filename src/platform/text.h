#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel::platform {

// Case folding of ASCII letters only: names of settings, INI keys and file
// extensions are ASCII, and other bytes of UTF-8 texts must pass unchanged.
std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Every letter in lower case, accented ones too ("März" -> "märz"); a text
// that is not UTF-8 has only its ASCII letters lowered.
std::string lowerCase(std::string_view text);
std::string_view trimBlanks(std::string_view text);

// A decimal integer with an optional sign and nothing else; nothing when the
// text is not one or does not fit.
std::optional<long long> parseInteger(std::string_view text);

// The program's texts are UTF-8. Text read from a file (metadata values, the
// lines of our list files, settings files) is taken as it is when it is valid
// UTF-8; anything else was written by older software in Windows-1252 (a
// superset of Latin-1) and is converted from that.
std::string textFromFile(std::string_view bytes);
bool isValidUtf8(std::string_view text);
// A file name or path as the user sees it. File operations keep using the
// path itself: a name that is not UTF-8 must still open.
std::string displayName(const std::filesystem::path& path);
// The number of characters (code points) of a UTF-8 text.
std::size_t utf8Length(std::string_view text);
// The longest start of a UTF-8 text with at most maxBytes bytes that does not
// end inside a character.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

}  // namespace vistrel::platform
