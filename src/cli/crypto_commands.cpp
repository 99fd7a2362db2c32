#include "cli/crypto_commands.h"

#include <iostream>

#include "cli/password_input.h"
#include "cli/terminal_prompter.h"
#include "tools/crypto/cipher_table.h"
#include "tools/crypto/crypto_batch.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;
using crypto::Direction;

constexpr OptionSpec kPasswordFile{
    "--password-file", "F",
    "Read the password from the first line of file F (the line break is not part of it) instead of asking for it "
    "on the terminal."};
constexpr OptionSpec kYes{"--yes", "",
                          "Answer yes to every question: remove read-only attributes and replace existing files. "
                          "Without it, and without a terminal, the answer is no."};

constexpr OptionSpec kEncryptOptions[] = {
    {"--algorithm", "NAME",
     "The cipher: Blowfish (the default), Cast128, Gost, Idea, Misty1, RC2, Rijndael or Twofish, in any case."},
    kPasswordFile,
    {"--delete", "", "Delete each original once its encrypted file is complete and reads back with the password."},
    kYes,
};

constexpr OptionSpec kDecryptOptions[] = {
    kPasswordFile,
    {"--to", "DIR", "Write the decrypted files into folder DIR instead of beside each encrypted file."},
    {"--delete", "", "Delete each encrypted file once its decrypted file is in place."},
    kYes,
};

class CryptoCommand : public Command {
 public:
  CryptoCommand(const ParsedArguments& args, Direction direction)
      : direction_(direction),
        passwordFile_(args.last("--password-file").value_or("")),
        destination_(args.last("--to").value_or("")),
        assumeYes_(args.has("--yes")),
        files_(args.operands.begin(), args.operands.end()) {
    if (files_.empty()) throw UsageError("no file given");
    options_.deleteAfter = args.has("--delete");
    if (const auto name = args.last("--algorithm")) {
      const auto algorithm = crypto::cipherByName(*name);
      if (!algorithm) throw UsageError("unknown algorithm \"" + *name + "\"");
      options_.algorithm = *algorithm;
    }
  }

  int run() override {
    std::error_code error;
    if (!destination_.empty() && !fs::is_directory(destination_, error)) {
      throw Error(destination_.string() + ": no such folder");
    }
    const std::string password = passwordFile_.empty() ? passwordFromTerminal(direction_ == Direction::Encrypt)
                                                       : passwordFromFile(passwordFile_);
    if (password.empty()) throw UsageError("the password is empty");
    TerminalPrompter prompter(assumeYes_ ? AnswerMode::Yes : AnswerMode::Ask);
    crypto::BatchEvents events;
    events.done = [](const fs::path&, const fs::path& output) { std::cout << output.string() << "\n"; };
    events.skipped = [](const fs::path& file, const std::string& reason) {
      std::cerr << file.string() << ": " << reason << "\n";
    };
    events.failed = [](const fs::path& file, const std::string& message) {
      std::cerr << file.string() << ": " << message << "\n";
      return true;
    };
    const crypto::BatchResult result =
        direction_ == Direction::Encrypt
            ? crypto::encryptFiles(files_, options_, password, prompter, events)
            : crypto::decryptFiles(files_, options_, password, destination_, prompter, events);
    return result.complete() ? 0 : 1;
  }

 private:
  Direction direction_;
  fs::path passwordFile_;
  fs::path destination_;
  bool assumeYes_;
  std::vector<fs::path> files_;
  crypto::CryptoOptions options_;
};

}  // namespace

const CommandInfo& encryptCommand() {
  static const CommandInfo info{
      "encrypt",
      "encrypt [--algorithm NAME] [--password-file F] [--delete] [--yes] FILE...",
      "Encrypt each file with a password into NAME.VXX beside it.",
      kEncryptOptions,
      "Without --password-file the password is read twice from the terminal, without echo. Files that are "
      "encrypted already are left alone. The encrypted files' paths go to standard output.",
      "0 when every file was encrypted or left alone as said on standard error, 1 when any failed, 2 for a mistake "
      "on the command line.",
      "  # encrypt two scans with Rijndael and remove the originals\n"
      "  vistrel encrypt --algorithm Rijndael --password-file ~/.scan-key --delete passport.jpg visa.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> {
        return std::make_unique<CryptoCommand>(args, Direction::Encrypt);
      }};
  return info;
}

const CommandInfo& decryptCommand() {
  static const CommandInfo info{
      "decrypt",
      "decrypt [--password-file F] [--to DIR] [--delete] [--yes] FILE...",
      "Restore encrypted .VXX files under the names they were encrypted from.",
      kDecryptOptions,
      "Without --password-file the password is read once from the terminal, without echo. The cipher is the one "
      "each file names. When a file of the stored name exists and is not to be replaced, the decrypted file is "
      "kept beside it under a free name and the encrypted file stays. The decrypted files' paths go to standard "
      "output.",
      "0 when every file was decrypted, 1 when any failed (a wrong password, a damaged file), 2 for a mistake on "
      "the command line.",
      "  # restore the scans into a folder of their own\n"
      "  vistrel decrypt --password-file ~/.scan-key --to ~/restored passport.VXX visa.VXX",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> {
        return std::make_unique<CryptoCommand>(args, Direction::Decrypt);
      }};
  return info;
}

}  // namespace vistrel::cli
