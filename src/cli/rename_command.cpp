#include "cli/rename_command.h"

#include <iostream>
#include <optional>

#include "browser/cache_location.h"
#include "cli/file_report.h"
#include "cli/stored_options.h"
#include "platform/text.h"
#include "tools/rename/rename_series.h"
#include "tools/rename/series_names.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kOptions[] = {
    {"--pattern", "P",
     "The new name without its extension: \"#\" is the running number, \"%d\" the date stamp (the photo's EXIF "
     "date, else its file date). Characters \\ / : * ? \" < > | are not allowed."},
    {"--start", "N", "The first number (default 1)."},
    {"--digits", "D", "Pad numbers with leading zeros to D digits, 1 to 10 (default 1)."},
    {"--date-format", "F",
     "The stamp's date: yyyy, mmmm/mmm (month name), mm, dddd/ddd (weekday name), dd, d; other characters are "
     "copied (default mmm_dd_yyyy)."},
    {"--time-format", "F", "The stamp's time after the separator: hh, mm, ss; empty for none (default hh_mm)."},
    {"--separator", "S", "Between the stamp's date and time, up to 8 characters (default _)."},
    {"--lower", "", "Make the new names and extensions lower case."},
    {"--dry-run", "", "Only print what the names would be; nothing is renamed."},
};

int integerOption(const ParsedArguments& args, std::string_view name, int fallback, int low, int high) {
  const auto text = args.last(name);
  return text ? parseNumberOption(name, *text, low, high) : fallback;
}

rename::RenameSettings settingsOf(const ParsedArguments& args) {
  rename::RenameSettings settings;
  settings.pattern = args.last("--pattern").value_or("");
  if (settings.pattern.empty()) throw UsageError("give the new names' --pattern");
  if (settings.pattern.find_first_of(rename::kRefusedCharacters) != std::string::npos) {
    throw UsageError("a pattern may not hold any of \\ / : * ? \" < > |");
  }
  settings.startNumber = integerOption(args, "--start", settings.startNumber, 0, 2147483647);
  settings.digits = integerOption(args, "--digits", settings.digits, 1, rename::kMaxDigits);
  settings.dateFormat = args.last("--date-format").value_or(settings.dateFormat);
  settings.timeFormat = args.last("--time-format").value_or(settings.timeFormat);
  settings.separator = args.last("--separator").value_or(settings.separator);
  if (platform::utf8Length(settings.separator) > rename::kMaxSeparatorLength)
    throw UsageError("the separator is too long");
  settings.lowerCase = args.has("--lower");
  return settings;
}

class RenameCommand : public Command {
 public:
  explicit RenameCommand(const ParsedArguments& args)
      : settings_(settingsOf(args)),
        dryRun_(args.has("--dry-run")),
        files_(args.operands.begin(), args.operands.end()) {
    if (files_.empty()) throw UsageError("no file given");
  }

  int run() override {
    rename::PlannedDisk planned;
    std::optional<browser::CacheLocation> cache;
    if (!dryRun_) cache.emplace(storedProgramOptions().cacheFolder);
    rename::RenameDisk real(cache ? &*cache : nullptr);
    const rename::RenameResult result = rename::renameSeries(files_, settings_, dryRun_ ? planned : real);
    printPairs(result.renamed);
    for (const fs::path& file : result.unchanged) printPairs({{file, file}});
    printFailures(result.failed);
    return result.failed.empty() ? 0 : 1;
  }

 private:
  rename::RenameSettings settings_;
  bool dryRun_;
  std::vector<fs::path> files_;
};

}  // namespace

const CommandInfo& renameCommand() {
  static const CommandInfo info{
      "rename",
      "rename --pattern P [--start N] [--digits D] [--date-format F] [--time-format F] [--separator S] [--lower] "
      "[--dry-run] FILE...",
      "Rename photos by a pattern with a running number and the date they were taken.",
      kOptions,
      "The files are renamed in the order given, each in its own folder and keeping its extension. A name that is "
      "taken already is never replaced: the pattern then takes \"(1)\", \"(2)\" … in place of the number (or at "
      "its end), as in photo_(1).jpg. A file that has its new name already is left alone and uses no number. "
      "Descriptions (descript.ion) and cached thumbnails follow their files. Prints \"OLD -> NEW\" per file.",
      "0 when every file was renamed or had its name already, 1 when any could not be (each named on standard "
      "error with the reason), 2 for a mistake on the command line.",
      "  # name a shoot by the time each photo was taken: 05_01_2004_14_30.jpg …\n"
      "  vistrel rename --pattern %d --date-format dd_mm_yyyy ~/Photos/Lofoten/*.jpg\n"
      "  # see first what numbering from 100 with three digits would give\n"
      "  vistrel rename --pattern lofoten_# --start 100 --digits 3 --dry-run ~/Photos/Lofoten/*.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<RenameCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
