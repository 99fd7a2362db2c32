#include "tools/crypto/cipher_table.h"

#include <string>

#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::crypto {
namespace {

// The markers are ours: changing one makes every file of that cipher unreadable.
constexpr CipherInfo kCiphers[] = {
    {"Blowfish", "Blowfish", 8, 32, "q21BE044E7F5EE40FDC9E9B88A6C189F5BAE059C"},
    {"Cast 128", "CAST-128", 8, 16, "q2A21BCF65B55CB2305C050A8E95232FD71020DC"},
    {"Gost", "GOST-28147-89", 8, 32, "q27D035EAEBE9D3E1ECB2207747A46DEFB45F1CE"},
    {"Idea", "IDEA", 8, 16, "q27C734D2AD3D0E6AF430B8EEC0D34565129C7D8"},
    {"Misty1", "MISTY1", 8, 16, "q223A36CA5130E071C694A4C6C3F626AF19B6184"},
    {"RC2", "", 8, 32, "q2C54D06FC8D9BCCEC64B522B50C7C6DC24EDEAF"},
    {"RijnDael", "AES-256", 16, 32, "q29870A428332CA853F4CE18BA9AE146BF13D6A2"},
    {"TwoFish", "Twofish", 16, 32, "q2C959038AF105BC0A51A757C47C311ACB8C650E"},
};

std::string withoutBlanks(std::string_view name) {
  std::string result;
  for (const char c : name) {
    if (c != ' ') result += c;
  }
  return result;
}

}  // namespace

std::span<const CipherInfo> ciphers() { return kCiphers; }

const CipherInfo& cipherInfo(int algorithm) {
  if (algorithm < 0 || algorithm >= int(std::size(kCiphers))) {
    throw Error("Unknown encryption algorithm " + std::to_string(algorithm));
  }
  return kCiphers[algorithm];
}

std::optional<int> cipherByName(std::string_view name) {
  for (int i = 0; i < int(std::size(kCiphers)); ++i) {
    if (platform::equalsIgnoreCase(withoutBlanks(kCiphers[i].name), withoutBlanks(name))) return i;
  }
  return std::nullopt;
}

}  // namespace vistrel::crypto
