#include "tools/crypto/crypto_batch.h"

#include "platform/error.h"
#include "platform/files.h"
#include "tools/crypto/gxe_crypto.h"

namespace vistrel::crypto {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

enum class Step { Done, Skipped, EndBatch };

template <typename Handler, typename... Args>
void notify(const Handler& handler, Args&&... args) {
  if (handler) handler(std::forward<Args>(args)...);
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

bool confirmed(platform::Prompter& prompter, const std::string& text) {
  return prompter.ask(text, "Confirm", Buttons::YesNo, Icon::Question) == Answer::Yes;
}

// A read-only file loses the attribute before it is worked on, as its original
// or encrypted file may be deleted afterwards; asked first, the user may end
// the batch instead. A missing file is left to the engine to report.
bool clearReadOnly(const fs::path& file, bool ask, Direction direction, platform::Prompter& prompter) {
  std::error_code missing;
  if (!fs::exists(file, missing) || !platform::isReadOnly(file)) return true;
  const char* work = direction == Direction::Encrypt ? "encryption" : "decryption";
  if (ask && !confirmed(prompter, quoted(file) + " is read-only.\r\rDo you want the read-only attribute to be removed "
                                                 "so that " + work + " can proceed?")) {
    return false;
  }
  platform::setReadOnly(file, false);
  return true;
}

void removeFile(const fs::path& file) {
  std::error_code error;
  if (!fs::remove(file, error) && error) throw Error("Cannot delete " + file.string() + ": " + error.message());
}

BatchResult runBatch(const std::vector<fs::path>& files, const BatchEvents& events,
                     const std::function<Step(const fs::path&)>& step) {
  BatchResult result;
  bool ended = false;
  std::size_t i = 0;
  for (; i < files.size() && !ended; ++i) {
    notify(events.starting, files[i]);
    try {
      switch (step(files[i])) {
        case Step::Done: ++result.done; break;
        case Step::Skipped: ++result.skipped; break;
        case Step::EndBatch:
          ++result.notDone;
          notify(events.skipped, files[i], "left alone: it is read-only");
          ended = true;
          break;
      }
    } catch (const Error& e) {
      ++result.failed;
      ended = !events.failed || !events.failed(files[i], e.what());
    }
    ended = ended || (events.aborted && events.aborted());
  }
  for (; i < files.size(); ++i) {
    ++result.notDone;
    notify(events.skipped, files[i], "not done: the batch ended before it");
  }
  return result;
}

Step encryptOne(const fs::path& file, const CryptoOptions& options, std::string_view password,
                platform::Prompter& prompter, const BatchEvents& events) {
  if (!clearReadOnly(file, options.readOnly, Direction::Encrypt, prompter)) return Step::EndBatch;
  if (TGXECrypto::IsFile_Vistrel_Encrypted(file)) {
    notify(events.skipped, file, "already encrypted");
    return Step::Skipped;
  }
  const fs::path target = TGXECrypto::EncryptedPath(file);
  std::error_code error;
  if (options.prompt && fs::exists(target, error) &&
      !confirmed(prompter, quoted(target) + " already exists, replace?")) {
    notify(events.skipped, file, quoted(target) + " was kept");
    return Step::Skipped;
  }
  TGXECrypto crypto;
  crypto.OnProgress = events.progress;
  crypto.EncryptFile(file, options.algorithm, password);
  if (options.deleteAfter) removeFile(file);
  notify(events.done, file, target);
  return Step::Done;
}

Step decryptOne(const fs::path& file, const CryptoOptions& options, std::string_view password,
                const fs::path& destination, platform::Prompter& prompter, const BatchEvents& events) {
  if (!clearReadOnly(file, options.readOnly, Direction::Decrypt, prompter)) return Step::EndBatch;
  TGXECrypto crypto;
  crypto.OnProgress = events.progress;
  if (options.prompt) {
    crypto.OnFileExists = [&](const fs::path& target) {
      return confirmed(prompter, quoted(target) + " already exists, replace?");
    };
  }
  const auto result = crypto.DecryptFile(file, destination.empty() ? file.parent_path() : destination, password);
  if (result.keptBeside()) {
    prompter.inform(quoted(result.target) + " was kept; the decrypted file was saved as " + quoted(result.path) +
                        " and the encrypted file stays.",
                    "Information");
  } else if (options.deleteAfter) {
    removeFile(file);
  }
  notify(events.done, file, result.path);
  return Step::Done;
}

}  // namespace

BatchResult encryptFiles(const std::vector<fs::path>& files, const CryptoOptions& options, std::string_view password,
                         platform::Prompter& prompter, const BatchEvents& events) {
  return runBatch(files, events,
                  [&](const fs::path& file) { return encryptOne(file, options, password, prompter, events); });
}

BatchResult decryptFiles(const std::vector<fs::path>& files, const CryptoOptions& options, std::string_view password,
                         const fs::path& destination, platform::Prompter& prompter, const BatchEvents& events) {
  return runBatch(files, events, [&](const fs::path& file) {
    return decryptOne(file, options, password, destination, prompter, events);
  });
}

}  // namespace vistrel::crypto
