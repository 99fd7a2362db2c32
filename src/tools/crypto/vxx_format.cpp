#include "tools/crypto/vxx_format.h"

#include <botan/hash.h>

#include <algorithm>
#include <cstring>

#include "platform/error.h"
#include "tools/crypto/cipher_table.h"

namespace vistrel::crypto {
namespace {

std::span<std::uint8_t> bytesOf(std::span<char> text) {
  return {reinterpret_cast<std::uint8_t*>(text.data()), text.size()};
}

void require(std::FILE* in, std::span<char> field) {
  if (readFully(in, field) != field.size()) throw Error("Stream read error");
}

}  // namespace

KeyMaterial keyMaterial(std::string_view password) {
  KeyMaterial key;
  key.fill(0xFF);
  const auto digest = Botan::HashFunction::create_or_throw("SHA-1")->process(
      reinterpret_cast<const std::uint8_t*>(password.data()), password.size());
  std::copy(digest.begin(), digest.end(), key.begin());
  return key;
}

std::string markerOf(int algorithm) {
  const std::string_view marker = cipherInfo(algorithm).marker;
  return char(marker.size()) + std::string(marker);
}

std::optional<int> algorithmOfMarker(std::string_view bytes) {
  for (int i = 0; i < int(ciphers().size()); ++i) {
    if (bytes.starts_with(markerOf(i))) return i;
  }
  return std::nullopt;
}

FileCipher::FileCipher(int algorithm, std::string_view password)
    : key_(keyMaterial(password)),
      cipher_(makeCipher(algorithm, std::span(key_).first(cipherInfo(algorithm).keyBytes))),
      chain_(*cipher_) {}

std::string FileCipher::checkField() {
  std::string field(key_.begin(), key_.end());
  chain_.reset();
  encrypt(field);
  chain_.reset();
  return field;
}

void FileCipher::encrypt(std::span<char> bytes) { chain_.encrypt(bytesOf(bytes)); }
void FileCipher::decrypt(std::span<char> bytes) { chain_.decrypt(bytesOf(bytes)); }

std::string encryptedHeader(int algorithm, FileCipher& cipher, std::string_view fileName) {
  if (fileName.size() > kNameBytes) throw Error("The file name is too long to be stored: " + std::string(fileName));
  std::string name(fileName);
  name.resize(kNameBytes, '\0');
  const std::string check = cipher.checkField();
  cipher.encrypt(name);
  return markerOf(algorithm) + check + name;
}

std::size_t readFully(std::FILE* in, std::span<char> buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const std::size_t n = std::fread(buffer.data() + done, 1, buffer.size() - done, in);
    if (n == 0) break;
    done += n;
  }
  if (std::ferror(in)) throw Error("Stream read error");
  return done;
}

VxxReader::VxxReader(std::FILE* in, std::string_view password) : in_(in), piece_(kPieceBytes) {
  std::array<char, kMarkerBytes> marker{};
  const std::size_t got = readFully(in_, marker);
  const auto algorithm = algorithmOfMarker(std::string_view(marker.data(), got));
  if (!algorithm) throw Error("This file was not encrypted with this program");
  algorithm_ = *algorithm;
  cipher_ = std::make_unique<FileCipher>(algorithm_, password);
  std::array<char, kCheckBytes> check{};
  require(in_, check);
  if (cipher_->checkField() != std::string_view(check.data(), check.size())) throw Error("Invalid password");
  std::array<char, kNameBytes> name{};
  require(in_, name);
  cipher_->decrypt(name);
  storedName_.assign(name.data(), strnlen(name.data(), name.size()));
}

std::span<const char> VxxReader::nextPiece() {
  const std::size_t n = readFully(in_, piece_);
  cipher_->decrypt(std::span(piece_).first(n));
  return std::span(piece_).first(n);
}

std::string bareFileName(std::string_view storedName) {
  const std::size_t slash = storedName.find_last_of("/\\");
  const std::string_view bare = slash == std::string_view::npos ? storedName : storedName.substr(slash + 1);
  if (bare.empty() || bare == "." || bare == "..") return {};
  return std::string(bare);
}

}  // namespace vistrel::crypto
