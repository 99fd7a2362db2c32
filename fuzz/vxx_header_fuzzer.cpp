// Encrypted files come from anywhere. Reading one must stay inside it, and the
// name it stores must never lead outside the destination folder. A raw input
// rarely gets past the password check, so each input is also read as the
// plain name field and contents of a file encrypted properly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/error.h"
#include "tools/crypto/cipher_table.h"
#include "tools/crypto/vxx_format.h"

namespace {

using namespace vistrel::crypto;

constexpr const char* kPassword = "fuzz";

void readBack(std::string file) {
  std::FILE* in = ::fmemopen(file.data(), file.size(), "rb");
  if (!in) return;
  try {
    VxxReader reader(in, kPassword);
    const std::string name = bareFileName(reader.storedName());
    if (name.find('/') != std::string::npos || name == "." || name == "..") std::abort();
    while (!reader.nextPiece().empty()) {
    }
  } catch (const vistrel::Error&) {
  }
  std::fclose(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  readBack(input);
  if (input.empty()) return 0;
  const int algorithm = std::uint8_t(input[0]) % int(ciphers().size());
  const std::string name = input.substr(1, kNameBytes);
  const std::string content = input.size() > 1 + kNameBytes ? input.substr(1 + kNameBytes) : "";
  FileCipher cipher(algorithm, kPassword);
  std::string file = encryptedHeader(algorithm, cipher, name), body = content;
  cipher.encrypt(body);
  readBack(file + body);
  return 0;
}
