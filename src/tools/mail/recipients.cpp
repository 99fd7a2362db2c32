#include "tools/mail/recipients.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::mail {
namespace {

bool unsafe(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || byte == 0x7F || c == '<' || c == '>';
}

}  // namespace

std::vector<std::string> recipientList(std::string_view to) {
  if (to.find(',') != std::string_view::npos) throw Error(kInvalidRecipient);
  std::vector<std::string> addresses;
  std::size_t start = 0;
  while (start <= to.size()) {
    const std::size_t end = std::min(to.find(';', start), to.size());
    const std::string_view address = platform::trimBlanks(to.substr(start, end - start));
    if (std::any_of(address.begin(), address.end(), unsafe)) {
      throw Error("Invalid Recipient (To:) address: " + std::string(address));
    }
    if (!address.empty()) addresses.emplace_back(address);
    start = end + 1;
  }
  if (addresses.empty()) throw Error("Enter the address of at least one recipient (To:).");
  return addresses;
}

}  // namespace vistrel::mail
