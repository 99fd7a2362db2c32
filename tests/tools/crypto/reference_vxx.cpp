#include "reference_vxx.h"

#include <stdexcept>

namespace vistrel::test {

ReferenceVxx::ReferenceVxx(int gcryptCipher, std::size_t keyBytes, std::string marker, const std::string& password)
    : blockBytes_(gcry_cipher_get_algo_blklen(gcryptCipher)), marker_(std::move(marker)) {
  gcry_check_version(nullptr);
  key_.assign(20, '\0');
  gcry_md_hash_buffer(GCRY_MD_SHA1, key_.data(), password.data(), password.size());
  key_.append(12, '\xFF');
  if (gcry_cipher_open(&handle_, gcryptCipher, GCRY_CIPHER_MODE_ECB, 0) != 0 ||
      gcry_cipher_setkey(handle_, key_.data(), keyBytes) != 0) {
    throw std::runtime_error("libgcrypt refused the cipher");
  }
  initial_ = block(std::string(blockBytes_, '\xFF'), true);
}

ReferenceVxx::~ReferenceVxx() { gcry_cipher_close(handle_); }

std::string ReferenceVxx::block(std::string bytes, bool forward) {
  if (forward) {
    gcry_cipher_encrypt(handle_, bytes.data(), bytes.size(), nullptr, 0);
  } else {
    gcry_cipher_decrypt(handle_, bytes.data(), bytes.size(), nullptr, 0);
  }
  return bytes;
}

// CBC over whole blocks; a short tail is combined with the encrypted chaining
// block, which stays the same.
std::string ReferenceVxx::chain(std::string bytes, std::string& previous, bool forward) {
  std::size_t at = 0;
  for (; at + blockBytes_ <= bytes.size(); at += blockBytes_) {
    std::string in = bytes.substr(at, blockBytes_), out;
    if (forward) {
      for (std::size_t i = 0; i < blockBytes_; ++i) in[i] = char(in[i] ^ previous[i]);
      out = previous = block(in, true);
    } else {
      out = block(in, false);
      for (std::size_t i = 0; i < blockBytes_; ++i) out[i] = char(out[i] ^ previous[i]);
      previous = in;
    }
    bytes.replace(at, blockBytes_, out);
  }
  const std::string pad = block(previous, true);
  for (std::size_t i = at; i < bytes.size(); ++i) bytes[i] = char(bytes[i] ^ pad[i - at]);
  return bytes;
}

std::string ReferenceVxx::encrypt(const std::string& name, const std::string& content) {
  std::string previous = initial_;
  std::string file = char(40) + marker_ + chain(key_, previous, true);
  previous = initial_;
  file += chain(name + std::string(501 - name.size(), '\0'), previous, true);
  for (std::size_t at = 0; at < content.size(); at += 8192) file += chain(content.substr(at, 8192), previous, true);
  return file;
}

std::pair<std::string, std::string> ReferenceVxx::decrypt(const std::string& file) {
  std::string previous = initial_;
  if (chain(file.substr(41, 32), previous, false) != key_) throw std::runtime_error("wrong password");
  previous = initial_;
  std::pair<std::string, std::string> result;
  result.first = chain(file.substr(73, 501), previous, false);
  for (std::size_t at = 574; at < file.size(); at += 8192) {
    result.second += chain(file.substr(at, 8192), previous, false);
  }
  return result;
}

}  // namespace vistrel::test
