#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace vistrel::crypto {

// One keyed block cipher of the table, working on single blocks in place.
class BlockCipher {
 public:
  virtual ~BlockCipher() = default;
  virtual std::size_t blockSize() const = 0;
  virtual void encrypt(std::uint8_t* block) = 0;
  virtual void decrypt(std::uint8_t* block) = 0;
};

// The cipher of the table's `algorithm`, keyed with `key` (any length the
// cipher takes; RC2's effective key length is 8 bits per key byte). Throws Error.
std::unique_ptr<BlockCipher> makeCipher(int algorithm, std::span<const std::uint8_t> key);

}  // namespace vistrel::crypto
