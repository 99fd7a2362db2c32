#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace vistrel::crypto {

// One algorithm of the encryption dialog. Its index in the table is what the
// settings store and what an encrypted file's marker stands for.
struct CipherInfo {
  std::string_view name;     // as the dialog lists it
  std::string_view library;  // the Botan name; empty for RC2, which comes from libgcrypt
  std::size_t blockBytes;
  std::size_t keyBytes;  // the smaller of the cipher's largest key and 32 bytes
  std::string_view marker;  // the 40 characters after the length byte that open its files
};

std::span<const CipherInfo> ciphers();
// Throws Error for an index outside the table.
const CipherInfo& cipherInfo(int algorithm);
// The index of a name as the dialog lists it, or without its blanks, in any
// case ("Cast 128", "cast128"); nothing for an unknown name.
std::optional<int> cipherByName(std::string_view name);

}  // namespace vistrel::crypto
