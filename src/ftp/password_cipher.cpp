#include "ftp/password_cipher.h"

#include <botan/block_cipher.h>
#include <botan/hash.h>

#include <array>
#include <memory>

#include "platform/base64.h"

namespace vistrel::ftp {
namespace {

enum class Direction { Encipher, Decipher };

std::unique_ptr<Botan::BlockCipher> keyedBlowfish() {
  auto sha1 = Botan::HashFunction::create_or_throw("SHA-1");
  const auto key = sha1->process("579");  // all 20 bytes: a 160-bit Blowfish key
  auto cipher = Botan::BlockCipher::create_or_throw("Blowfish");
  cipher->set_key(key);
  return cipher;
}

// 8-bit cipher feedback, byte by byte: each output byte is the first byte of the
// encrypted feedback block XOR the input, and the cipher byte is shifted in.
std::string feedback(std::string_view in, Direction direction) {
  const auto cipher = keyedBlowfish();
  std::array<std::uint8_t, 8> block;
  block.fill(0xFF);
  cipher->encrypt(block.data());
  std::string out(in.size(), '\0');
  for (std::size_t i = 0; i < in.size(); ++i) {
    std::array<std::uint8_t, 8> pad = block;
    cipher->encrypt(pad.data());
    const auto inByte = static_cast<std::uint8_t>(in[i]);
    const auto outByte = static_cast<std::uint8_t>(pad[0] ^ inByte);
    out[i] = static_cast<char>(outByte);
    std::copy(block.begin() + 1, block.end(), block.begin());
    block.back() = direction == Direction::Encipher ? outByte : inByte;
  }
  return out;
}

}  // namespace

std::string encipherPassword(std::string_view password) {
  return platform::base64Encode(feedback(password, Direction::Encipher));
}

std::string decipherPassword(std::string_view field) {
  return feedback(platform::base64Decode(field), Direction::Decipher);
}

}  // namespace vistrel::ftp
