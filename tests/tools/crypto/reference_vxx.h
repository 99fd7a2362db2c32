#pragma once

#include <gcrypt.h>

#include <string>
#include <utility>

namespace vistrel::test {

// A second implementation of the encrypted file format, written from its
// description over libgcrypt's block ciphers and SHA-1, with the chaining done
// by hand. It shares no code with the program's own.
class ReferenceVxx {
 public:
  // `marker`: the 40 characters after the length byte.
  ReferenceVxx(int gcryptCipher, std::size_t keyBytes, std::string marker, const std::string& password);
  ~ReferenceVxx();
  ReferenceVxx(const ReferenceVxx&) = delete;
  ReferenceVxx& operator=(const ReferenceVxx&) = delete;

  // The whole file for a source called `name` (any bytes, up to 501).
  std::string encrypt(const std::string& name, const std::string& content);
  // The stored name field (all 501 bytes) and the contents; throws when the check field differs.
  std::pair<std::string, std::string> decrypt(const std::string& file);

 private:
  std::string block(std::string bytes, bool forward);
  std::string chain(std::string bytes, std::string& previous, bool forward);

  gcry_cipher_hd_t handle_ = nullptr;
  std::size_t blockBytes_;
  std::string marker_;
  std::string key_;
  std::string initial_;
};

}  // namespace vistrel::test
