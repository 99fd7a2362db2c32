#include "cli/find_command.h"

#include <atomic>
#include <cstdio>
#include <iostream>

#include "platform/text.h"
#include "tools/search/file_masks.h"
#include "tools/search/my_ff.h"
#include "tools/search/search_criteria.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kOptions[] = {
    {"--name", "MASKS",
     "Name masks separated by semicolons or commas, without regard to case: '*.jpg;*.gif'. A mask without * and "
     "without a full stop is looked for anywhere in the name (img finds myimg_01.jpg); one with * but without a full "
     "stop may go on after its end. Default: every file."},
    {"--text", "PHRASE", "Only files that contain PHRASE, with ASCII letters in either case: --text 'Holiday 2024'."},
    {"--min-kb", "N", "Only files of at least N KB (N × 1024 bytes): --min-kb 100."},
    {"--max-kb", "N", "Only files of at most N KB (N × 1024 bytes): --max-kb 2048."},
    {"--modified-from", "YYYY-MM-DD", "Only files last changed on that day or later: --modified-from 2024-06-01."},
    {"--modified-to", "YYYY-MM-DD", "Only files last changed on that day or earlier: --modified-to 2024-06-30."},
    {"--no-subfolders", "", "Search DIR itself, not the folders below it."},
    {"--no-hidden", "", "Leave out hidden files (names starting with a full stop) and the folders of that kind."},
    {"--no-read-only", "", "Leave out files whose permissions do not let you write them."},
};

std::uint64_t kilobytes(const ParsedArguments& args, std::string_view option) {
  const std::string text = *args.last(option);
  const auto value = platform::parseInteger(text);
  if (!value || *value < 0) throw UsageError(std::string(option) + " takes a number of KB, not '" + text + "'");
  return std::uint64_t(*value);
}

platform::DateTime dayOf(const ParsedArguments& args, std::string_view option, platform::DateTime fallback) {
  const auto text = args.last(option);
  if (!text) return fallback;
  platform::DateTime day;
  const bool parsed = text->size() == 10 && (*text)[4] == '-' && (*text)[7] == '-' &&
                      std::sscanf(text->c_str(), "%4d-%2d-%2d", &day.year, &day.month, &day.day) == 3;
  if (!parsed || !day.isValid())
    throw UsageError(std::string(option) + " takes a day as YYYY-MM-DD, not '" + *text + "'");
  return day;
}

class FindCommand : public Command {
 public:
  explicit FindCommand(const ParsedArguments& args) {
    if (args.operands.size() != 1) throw UsageError("give one folder to search");
    start_ = fs::absolute(args.operands.front()).lexically_normal();
    criteria_.masks = search::parseMaskList(args.last("--name").value_or(""));
    criteria_.phrase = args.last("--text").value_or("");
    if (args.has("--min-kb")) search::applySizeRule(criteria_, search::SizeRule::AtLeast, kilobytes(args, "--min-kb"));
    if (args.has("--max-kb")) search::applySizeRule(criteria_, search::SizeRule::AtMost, kilobytes(args, "--max-kb"));
    if (args.has("--modified-from") || args.has("--modified-to")) {
      search::applyModifiedBetween(criteria_, dayOf(args, "--modified-from", {1980, 1, 1}),
                                   dayOf(args, "--modified-to", {2099, 12, 31}));
      // A side not given is open, not the window's earliest or latest day.
      if (!args.has("--modified-from")) criteria_.from = platform::SystemTime::min();
      if (!args.has("--modified-to")) criteria_.to = platform::SystemTime::max();
    }
    criteria_.recurse = !args.has("--no-subfolders");
    criteria_.hidden = !args.has("--no-hidden");
    criteria_.readOnly = !args.has("--no-read-only");
  }

  int run() override {
    std::error_code ec;
    if (!fs::is_directory(start_, ec)) throw Error(start_.string() + ": no such folder");
    search::TMyFF finder(criteria_);
    finder.DetailsWanted = false;  // only the paths are printed
    bool failed = false;
    finder.OnFileFound = [](const search::FoundFile& file) {
      std::cout << platform::displayName(file.path) << '\n';
      return true;
    };
    finder.OnError = [&failed](const fs::path& path, const std::string& message) {
      std::cout.flush();
      std::cerr << platform::displayName(path) << ": " << platform::textFromFile(message) << '\n';
      failed = true;
    };
    const std::atomic<bool> never{false};
    finder.Search(start_, never);
    return failed ? 1 : 0;
  }

 private:
  fs::path start_;
  search::FileCriteria criteria_;
};

}  // namespace

const CommandInfo& findCommand() {
  static const CommandInfo info{
      "find",
      "find [--name MASKS] [--text PHRASE] [--min-kb N] [--max-kb N] [--modified-from YYYY-MM-DD] "
      "[--modified-to YYYY-MM-DD] [--no-subfolders] [--no-hidden] [--no-read-only] DIR",
      "Print the files below a folder that match name masks, size, date and content.",
      kOptions,
      "Prints one full path a line: each folder's files in name order, then its sub-folders. Folders reached "
      "through symbolic links are not entered. Finding nothing is no failure.",
      "0 when the search went through (with or without hits), 1 when DIR is no folder or a folder or file could not "
      "be read (each named on standard error), 2 for a mistake on the command line.",
      "  # the JPEG and GIF files of June 2024 over 100 KB that mention a holiday\n"
      "  vistrel find --name '*.jpg;*.gif' --min-kb 100 --modified-from 2024-06-01 --modified-to 2024-06-30 \\\n"
      "      --text holiday ~/Pictures",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<FindCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
