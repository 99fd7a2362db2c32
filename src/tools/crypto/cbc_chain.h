#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/crypto/block_cipher.h"

namespace vistrel::crypto {

// Cipher-block chaining as the encrypted files use it. The initial chaining
// block is the encryption of a block of 0xFF bytes, so no vector is stored. A
// piece that ends in less than one block combines those bytes with the
// encryption of the current chaining block and leaves that block as it is, so
// the chain goes on from it with the next piece.
class CbcChain {
 public:
  explicit CbcChain(BlockCipher& cipher);

  void reset() { chain_ = initial_; }
  void encrypt(std::span<std::uint8_t> bytes);
  void decrypt(std::span<std::uint8_t> bytes);

 private:
  void combineTail(std::span<std::uint8_t> tail);

  BlockCipher& cipher_;
  std::vector<std::uint8_t> initial_;
  std::vector<std::uint8_t> chain_;
};

}  // namespace vistrel::crypto
