#pragma once

#include <string>
#include <string_view>

namespace vistrel::platform {

// Base64 of the standard alphabet with "=" padding and no line breaks. The
// encoder zeroes the spare bits of an incomplete group.
std::string base64Encode(std::string_view bytes);

// Ignores the spare bits of the last group (stored texts may carry other values
// there). Throws Error("Base64: Incorrect string format") for a text whose
// length is not a multiple of four or that holds characters outside the alphabet.
std::string base64Decode(std::string_view text);

}  // namespace vistrel::platform
