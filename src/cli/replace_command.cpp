#include "cli/replace_command.h"

#include <iostream>

#include "platform/text.h"
#include "tools/textreplace/replace_run.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kOptions[] = {
    {"--find", "A", "The text to find (required; not empty): --find 'Previous'."},
    {"--replace", "B", "What replaces it (required; may be empty): --replace 'Back'."},
    {"--case", "", "Match case: Back then finds neither BACK nor back."},
    {"--no-whole-words", "",
     "Replace also inside words. By default an occurrence next to a letter, digit or underscore is left alone."},
    {"--no-backup", "",
     "Do not keep the old file. By default each changed file is first copied to the same name with the extension "
     ".bak (index.html to index.bak)."},
};

class ReplaceCommand : public Command {
 public:
  explicit ReplaceCommand(const ParsedArguments& args) : files_(args.operands.begin(), args.operands.end()) {
    const auto find = args.last("--find");
    const auto replace = args.last("--replace");
    if (!find || find->empty()) throw UsageError("give the text to find with --find");
    if (!replace) throw UsageError("give the new text with --replace (it may be \"\")");
    if (files_.empty()) throw UsageError("no file given");
    rule_ = {*find, *replace, args.has("--case"), !args.has("--no-whole-words")};
    backup_ = !args.has("--no-backup");
  }

  int run() override {
    const int failed = textreplace::replaceInFiles(files_, rule_, backup_, [](const textreplace::FileResult& result) {
      const std::string name = platform::displayName(result.file);
      if (result.failed()) {
        std::cout.flush();
        std::cerr << name << ": " << platform::textFromFile(result.error) << '\n';
      } else {
        std::cout << textreplace::logLine(name, result) << '\n';
      }
    });
    return failed > 0 ? 1 : 0;
  }

 private:
  std::vector<fs::path> files_;
  textreplace::ReplaceRule rule_;
  bool backup_ = true;
};

}  // namespace

const CommandInfo& replaceCommand() {
  static const CommandInfo info{
      "replace",
      "replace --find A --replace B [--case] [--no-whole-words] [--no-backup] FILE...",
      "Replace a text by another in text files, such as a gallery's pages.",
      kOptions,
      "Works line by line and keeps each line's own line break. Occurrences are replaced from left to right, and "
      "text once replaced is not searched again. A file with no occurrence is not written; a changed file is "
      "replaced whole once its new text is complete. Prints \"FILE - N replacement(s)\" for every file.",
      "0 when every file was read (and written where it changed), 1 when any was not (each named on standard error "
      "with the reason), 2 for a mistake on the command line.",
      "  # the gallery's pages say Back instead of Previous; the old pages are kept as .bak\n"
      "  vistrel replace --find Previous --replace Back ~/web/*.html",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<ReplaceCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
