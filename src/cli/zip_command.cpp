#include "cli/zip_command.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "cli/password_input.h"
#include "cli/terminal_prompter.h"
#include "platform/text.h"
#include "tools/zip/archive_name.h"
#include "tools/zip/zip_writer.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kZipOptions[] = {
    {"--level", "N",
     "The pack level: 9 (maximum, slowest), 7 (normal), 5 (fast, the default), 3 (super fast) or 0 (stored "
     "without compression, best for JPEG photos)."},
    {"--store-paths", "", "Name each entry by its file's whole folder path instead of only its file name."},
    {"--password-file", "F",
     "Encrypt every entry added with AES-256, with the password on the first line of file F (the line break is "
     "not part of it)."},
};

int packLevel(const std::string& text) {
  for (const zip::PackLevel& choice : zip::kPackLevels) {
    if (text == std::to_string(choice.level)) return choice.level;
  }
  throw UsageError("--level must be 0, 3, 5, 7 or 9, not \"" + text + "\"");
}

class ZipCommand : public Command {
 public:
  explicit ZipCommand(const ParsedArguments& args) {
    if (args.operands.size() < 2) throw UsageError("give the archive and at least one file");
    archive_ = zip::archivePath(args.operands.front());
    files_.assign(args.operands.begin() + 1, args.operands.end());
    options_.level = packLevel(args.last("--level").value_or("5"));
    options_.storePaths = args.has("--store-paths");
    passwordFile_ = args.last("--password-file").value_or("");
  }

  int run() override {
    if (!passwordFile_.empty()) {
      options_.password = passwordFromFile(passwordFile_);
      if (options_.password.empty()) throw UsageError("the password is empty");
    }
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    zip::ZipEvents events;
    if (terminal) {
      events.adding = [](std::size_t number, std::size_t total, const fs::path& file) {
        std::fprintf(stderr, "\r\033[KAdding %zu of %zu: %s", number, total,
                     terminalText(platform::displayName(file.filename())).c_str());
      };
    }
    events.skipped = [](const fs::path& file, const std::string& reason) {
      std::cerr << file.string() << ": " << reason << "\n";
    };
    const zip::ZipResult result = zip::ZipFiles(archive_, files_, options_, events);
    if (terminal) std::fputs("\r\033[K", stderr);
    std::cout << result.added << " file(s) zipped\n";
    return result.skipped == 0 ? 0 : 1;
  }

 private:
  fs::path archive_;
  std::vector<fs::path> files_;
  zip::ZipOptions options_;
  fs::path passwordFile_;
};

}  // namespace

const CommandInfo& zipCommand() {
  static const CommandInfo info{
      "zip",
      "zip ARCHIVE [--level 0|3|5|7|9] [--store-paths] [--password-file F] FILE...",
      "Add files to a ZIP archive, making it when it is missing.",
      kZipOptions,
      "\".zip\" is appended to ARCHIVE unless it ends in it already, in any case. Entries of the same name that "
      "the archive holds are replaced; two files of the same name get \"name_1.ext\" for the later one. The "
      "archive is written beside the old one and replaces it only when complete, so a failure leaves it as it "
      "was. The count of files added goes to standard output as \"N file(s) zipped\".",
      "0 when every file was added, 1 when any could not be read (each named on standard error) or the archive "
      "could not be written, 2 for a mistake on the command line.",
      "  # pack a gallery's pages and photos without compressing them, with a password\n"
      "  vistrel zip --level 0 --password-file ~/.gallery-key gallery.zip web/*",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<ZipCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
