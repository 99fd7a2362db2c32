#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/prompter.h"
#include "tools/crypto/crypto_options.h"

namespace vistrel::crypto {

// What a batch tells its front end. Every handler may be left empty.
struct BatchEvents {
  std::function<void(const std::filesystem::path& file)> starting;
  std::function<void(int percent)> progress;
  // `output` is the encrypted file, or where the decrypted data went.
  std::function<void(const std::filesystem::path& file, const std::filesystem::path& output)> done;
  // A file left alone, and why; also each file the batch did not reach.
  std::function<void(const std::filesystem::path& file, const std::string& reason)> skipped;
  // A file failed with the message: true goes on with the next file, false
  // (or no handler) ends the batch.
  std::function<bool(const std::filesystem::path& file, const std::string& message)> failed;
  // Asked after each file: true ends the batch.
  std::function<bool()> aborted;
};

struct BatchResult {
  int done = 0;
  int skipped = 0;  // already encrypted, or the user kept the existing file
  int failed = 0;
  int notDone = 0;  // not reached because the batch ended early, or declined at the read-only question
  bool complete() const { return failed == 0 && notDone == 0; }
};

// Encrypts each file beside itself, in order. Asks through the prompter before
// removing a read-only attribute (No ends the batch) and, with
// options.prompt, before replacing an encrypted file (No skips the file).
BatchResult encryptFiles(const std::vector<std::filesystem::path>& files, const CryptoOptions& options,
                         std::string_view password, platform::Prompter& prompter, const BatchEvents& events);
// Decrypts each file into its own folder, or into `destination` when that is
// not empty. A decrypted file whose name the user declines to replace is kept
// beside it under a free name, and its encrypted file is then never deleted.
BatchResult decryptFiles(const std::vector<std::filesystem::path>& files, const CryptoOptions& options,
                         std::string_view password, const std::filesystem::path& destination,
                         platform::Prompter& prompter, const BatchEvents& events);

}  // namespace vistrel::crypto
