#pragma once

#include "platform/settings_store.h"

namespace vistrel::crypto {

enum class Direction { Encrypt, Decrypt };

// The choices of the encryption and decryption dialogs. The password is never
// part of them.
struct CryptoOptions {
  int algorithm = 0;        // "Algorithm", encryption only
  bool prompt = true;       // "Prompt": ask before replacing an existing file
  bool readOnly = true;     // "ReadOnly": ask before removing the read-only attribute
  bool deleteAfter = true;  // "Delete": delete the original, or the encrypted file, when done
};

// From the sub-key "Encrypt" or "Decrypt" of the program key, opened without
// creating it; the first missing value ends the reading.
CryptoOptions readCryptoOptions(platform::SettingsStore& store, Direction direction);
// To the same key, also opened without creating it: nothing is stored while it does not exist.
void writeCryptoOptions(platform::SettingsStore& store, Direction direction, const CryptoOptions& options);

}  // namespace vistrel::crypto
