#include "tools/crypto/crypto_options.h"

#include <string>

#include "tools/crypto/cipher_table.h"

namespace vistrel::crypto {
namespace {

std::string keyPath(Direction direction) {
  return std::string(platform::kProgramKey) + (direction == Direction::Encrypt ? "\\Encrypt" : "\\Decrypt");
}

}  // namespace

CryptoOptions readCryptoOptions(platform::SettingsStore& store, Direction direction) {
  CryptoOptions options;
  const auto key = store.openKey(keyPath(direction), false);
  if (!key) return options;
  try {
    if (direction == Direction::Encrypt) {
      const int algorithm = key->readInteger("Algorithm");
      if (algorithm >= 0 && algorithm < int(ciphers().size())) options.algorithm = algorithm;
    }
    options.prompt = key->readBool("Prompt");
    options.readOnly = key->readBool("ReadOnly");
    options.deleteAfter = key->readBool("Delete");
  } catch (const platform::SettingsError&) {
    // Keep the defaults from the first missing value on.
  }
  return options;
}

// The key is created when missing: opened without creating it, as older
// versions did, the choices of a fresh installation were never kept.
void writeCryptoOptions(platform::SettingsStore& store, Direction direction, const CryptoOptions& options) {
  auto key = store.openKey(keyPath(direction), true);
  if (direction == Direction::Encrypt) key->writeInteger("Algorithm", options.algorithm);
  key->writeBool("Prompt", options.prompt);
  key->writeBool("ReadOnly", options.readOnly);
  key->writeBool("Delete", options.deleteAfter);
  store.flush();
}

}  // namespace vistrel::crypto
