#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/crypto/block_cipher.h"
#include "tools/crypto/cbc_chain.h"

namespace vistrel::crypto {

// An encrypted file: a marker naming the cipher (a length byte 40 and 40
// characters), the password check, the original file name in a zero-padded
// field, then the contents. All but the marker is encrypted.
inline constexpr std::size_t kMarkerBytes = 41;
inline constexpr std::size_t kCheckBytes = 32;
inline constexpr std::size_t kNameBytes = 501;
inline constexpr std::size_t kHeaderBytes = kMarkerBytes + kCheckBytes + kNameBytes;
// Contents go through the cipher in pieces of this size, so that only the
// last piece can end in a partial block.
inline constexpr std::size_t kPieceBytes = 8192;

using KeyMaterial = std::array<std::uint8_t, 32>;
// The SHA-1 digest of the password's bytes, then twelve bytes 0xFF.
KeyMaterial keyMaterial(std::string_view password);

std::string markerOf(int algorithm);
// The algorithm whose marker the bytes begin with.
std::optional<int> algorithmOfMarker(std::string_view bytes);

// The cipher of one file, keyed with the first key-length bytes of the key
// material, and its chaining.
class FileCipher {
 public:
  FileCipher(int algorithm, std::string_view password);

  // The key material encrypted from the initial block; the chaining starts
  // afresh after it, for the name field and the contents.
  std::string checkField();
  void encrypt(std::span<char> bytes);
  void decrypt(std::span<char> bytes);

 private:
  KeyMaterial key_;
  std::unique_ptr<BlockCipher> cipher_;
  CbcChain chain_;
};

// The header of the encryption of a file called `fileName` (without folder);
// the cipher goes on with the contents. Throws Error for a name that does not fit.
std::string encryptedHeader(int algorithm, FileCipher& cipher, std::string_view fileName);

// Reads until `buffer` is full or the stream ends; returns the bytes read.
// Throws Error "Stream read error" when reading fails.
std::size_t readFully(std::FILE* in, std::span<char> buffer);

// Reads an encrypted file from its start: the header at construction, then the
// contents piece by piece.
class VxxReader {
 public:
  // Throws Error: "This file was not encrypted with this program" when no
  // marker matches, "Invalid password", "Stream read error" when the file
  // ends inside the header.
  VxxReader(std::FILE* in, std::string_view password);

  int algorithm() const { return algorithm_; }
  // The name field up to its first zero byte, as stored.
  const std::string& storedName() const { return storedName_; }
  // The next piece of the contents, decrypted; empty at the end.
  std::span<const char> nextPiece();

 private:
  std::FILE* in_;
  int algorithm_ = 0;
  std::unique_ptr<FileCipher> cipher_;
  std::string storedName_;
  std::vector<char> piece_;
};

// A stored name reduced to a bare file name: what follows its last "/" or
// "\". Empty when nothing usable is left ("", "." or "..").
std::string bareFileName(std::string_view storedName);

}  // namespace vistrel::crypto
