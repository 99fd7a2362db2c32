#include "tools/crypto/block_cipher.h"

#include <botan/block_cipher.h>
#include <botan/exceptn.h>
#include <gcrypt.h>

#include <string>

#include "platform/error.h"
#include "tools/crypto/cipher_table.h"

namespace vistrel::crypto {
namespace {

class BotanCipher : public BlockCipher {
 public:
  BotanCipher(std::string_view name, std::span<const std::uint8_t> key)
      : cipher_(Botan::BlockCipher::create_or_throw(std::string(name))) {
    cipher_->set_key(key.data(), key.size());
  }
  std::size_t blockSize() const override { return cipher_->block_size(); }
  void encrypt(std::uint8_t* block) override { cipher_->encrypt(block); }
  void decrypt(std::uint8_t* block) override { cipher_->decrypt(block); }

 private:
  std::unique_ptr<Botan::BlockCipher> cipher_;
};

// libgcrypt must be initialised once before its first use; secure memory
// would only add warnings, as the password is in ordinary memory anyway.
void initialiseGcrypt() {
  static const bool done = [] {
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  (void)done;
}

// RC2 as RFC 2268 defines it, with an effective key length of 8 bits per key byte.
class Rc2Cipher : public BlockCipher {
 public:
  explicit Rc2Cipher(std::span<const std::uint8_t> key) {
    initialiseGcrypt();
    check(gcry_cipher_open(&handle_, GCRY_CIPHER_RFC2268_128, GCRY_CIPHER_MODE_ECB, 0));
    check(gcry_cipher_setkey(handle_, key.data(), key.size()));
  }
  ~Rc2Cipher() override { gcry_cipher_close(handle_); }
  Rc2Cipher(const Rc2Cipher&) = delete;
  Rc2Cipher& operator=(const Rc2Cipher&) = delete;

  std::size_t blockSize() const override { return 8; }
  void encrypt(std::uint8_t* block) override { check(gcry_cipher_encrypt(handle_, block, 8, nullptr, 0)); }
  void decrypt(std::uint8_t* block) override { check(gcry_cipher_decrypt(handle_, block, 8, nullptr, 0)); }

 private:
  static void check(gcry_error_t error) {
    if (error != 0) throw Error(std::string("RC2: ") + gcry_strerror(error));
  }
  gcry_cipher_hd_t handle_ = nullptr;
};

}  // namespace

std::unique_ptr<BlockCipher> makeCipher(int algorithm, std::span<const std::uint8_t> key) {
  const CipherInfo& info = cipherInfo(algorithm);
  if (info.library.empty()) return std::make_unique<Rc2Cipher>(key);
  try {
    return std::make_unique<BotanCipher>(info.library, key);
  } catch (const Botan::Exception& e) {
    throw Error(std::string(info.name) + ": " + e.what());
  }
}

}  // namespace vistrel::crypto
