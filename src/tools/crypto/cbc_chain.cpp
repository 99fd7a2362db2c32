#include "tools/crypto/cbc_chain.h"

#include <algorithm>

namespace vistrel::crypto {

CbcChain::CbcChain(BlockCipher& cipher) : cipher_(cipher), initial_(cipher.blockSize(), 0xFF) {
  cipher_.encrypt(initial_.data());
  chain_ = initial_;
}

void CbcChain::encrypt(std::span<std::uint8_t> bytes) {
  const std::size_t n = chain_.size();
  std::size_t at = 0;
  for (; at + n <= bytes.size(); at += n) {
    std::uint8_t* block = bytes.data() + at;
    for (std::size_t i = 0; i < n; ++i) block[i] ^= chain_[i];
    cipher_.encrypt(block);
    std::copy_n(block, n, chain_.begin());
  }
  combineTail(bytes.subspan(at));
}

void CbcChain::decrypt(std::span<std::uint8_t> bytes) {
  const std::size_t n = chain_.size();
  std::vector<std::uint8_t> cipherBlock(n);
  std::size_t at = 0;
  for (; at + n <= bytes.size(); at += n) {
    std::uint8_t* block = bytes.data() + at;
    std::copy_n(block, n, cipherBlock.begin());
    cipher_.decrypt(block);
    for (std::size_t i = 0; i < n; ++i) block[i] ^= chain_[i];
    chain_.swap(cipherBlock);
  }
  combineTail(bytes.subspan(at));
}

void CbcChain::combineTail(std::span<std::uint8_t> tail) {
  if (tail.empty()) return;
  std::vector<std::uint8_t> pad = chain_;
  cipher_.encrypt(pad.data());
  for (std::size_t i = 0; i < tail.size(); ++i) tail[i] ^= pad[i];
}

}  // namespace vistrel::crypto
