#pragma once

#include <string>
#include <string_view>

namespace vistrel::ftp {

// The password field of a site line: the password's bytes in Blowfish 8-bit
// cipher feedback under a fixed key, then Base64. The key and the first
// feedback block never change, so the same password always gives the same
// field and fields written by earlier versions of the program stay readable.
// This hides a password from a casual look at the file; it is not protection.
std::string encipherPassword(std::string_view password);

// Throws Error("Base64: Incorrect string format") for a field that is not Base64.
std::string decipherPassword(std::string_view field);

}  // namespace vistrel::ftp
