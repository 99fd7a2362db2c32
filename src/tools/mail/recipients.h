#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistrel::mail {

inline constexpr const char* kInvalidRecipient =
    "Invalid Recipient (To:) address.\n\nMultiple e-mail addresses must be\nseparated by a semicolon ;";

// The addresses of the "To:" text: one address, or several separated by
// semicolons, each trimmed; empty pieces (a semicolon at the end) are left
// out. Throws Error with kInvalidRecipient for a comma, and an Error naming
// the address for one that holds blanks, angle brackets or control
// characters, which would change the commands sent to the server.
std::vector<std::string> recipientList(std::string_view to);

}  // namespace vistrel::mail
