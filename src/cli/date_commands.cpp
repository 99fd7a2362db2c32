#include "cli/date_commands.h"

#include "cli/date_text.h"
#include "cli/file_edits.h"
#include "metadata/exif_dates.h"
#include "metadata/file_dates.h"
#include "platform/error.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kExifOptions[] = {
    {"--shift", "[+-]DAYS:HH:MM:SS",
     "Move the dates by this difference; the sign counts for all of it (--shift -0:01:00:00 is an hour back, "
     "--shift 1:00:00:00 a day on)."},
    {"--set", "\"YYYY:MM:DD HH:MM:SS\"",
     "Put this date and time in place of the dates (--set \"2004:07:01 12:00:00\")."},
};

constexpr OptionSpec kFileOptions[] = {
    {"--set", "\"YYYY-MM-DD HH:MM:SS\"", "The local date and time to give the files (--set \"2004-07-01 12:00:00\")."},
    {"--modified", "",
     "Set the modification time (--modified alone leaves the access time). Without --modified and --accessed, both "
     "are set."},
    {"--accessed", "", "Set the access time (--accessed alone leaves the modification time)."},
};

std::string plural(int count, const char* one, const char* more) {
  return std::to_string(count) + (count == 1 ? one : more);
}

class ExifDateCommand : public Command {
 public:
  explicit ExifDateCommand(const ParsedArguments& args) : files_(args.operands) {
    const auto shift = args.last("--shift");
    const auto set = args.last("--set");
    if (shift.has_value() == set.has_value()) throw UsageError("give either --shift or --set");
    if (shift) {
      const auto parsed = metadata::ParseExifDateShift(*shift);
      if (!parsed) throw UsageError("--shift takes [+-]DAYS:HH:MM:SS, not \"" + *shift + "\"");
      change_ = *parsed;
    } else {
      const auto date = parseDateText(*set, ':', true);
      if (!date) throw UsageError("--set takes a date \"YYYY:MM:DD HH:MM:SS\", not \"" + *set + "\"");
      change_ = *date;
    }
    if (files_.empty()) throw UsageError("no file given");
  }

  int run() override {
    return editEachFile("exifdate", files_, [this](const fs::path& file) {
      const metadata::ExifDateResult result = metadata::ChangeExifDates(file, change_);
      if (result.unreadable > 0) {
        throw Error(plural(result.unreadable, " EXIF date text could not be read and was",
                           " EXIF date texts could not be read and were") +
                    " left as " + (result.unreadable == 1 ? "it was" : "they were"));
      }
      if (result.changed == 0) throw Error("no EXIF date to change");
    });
  }

 private:
  std::vector<std::string> files_;
  metadata::ExifDateChange change_;
};

class FileDateCommand : public Command {
 public:
  explicit FileDateCommand(const ParsedArguments& args) : files_(args.operands) {
    const auto set = args.last("--set");
    if (!set) throw UsageError("give the date with --set");
    const auto date = parseDateText(*set, '-', true);
    if (!date) throw UsageError("--set takes a date \"YYYY-MM-DD HH:MM:SS\" that exists, not \"" + *set + "\"");
    date_ = *date;
    if (args.has("--modified") || args.has("--accessed")) which_ = {args.has("--modified"), args.has("--accessed")};
    if (files_.empty()) throw UsageError("no file given");
  }

  int run() override {
    return editEachFile("filedate", files_,
                        [this](const fs::path& file) { metadata::SetFileDate(file, date_, which_); });
  }

 private:
  std::vector<std::string> files_;
  platform::DateTime date_;
  metadata::FileTimeChoice which_;
};

}  // namespace

const CommandInfo& exifdateCommand() {
  static const CommandInfo info{
      "exifdate",
      "exifdate (--shift [+-]DAYS:HH:MM:SS | --set \"YYYY:MM:DD HH:MM:SS\") FILE...",
      "Move or set the three EXIF dates of JPEG photos; the files keep their modification time.",
      kExifOptions,
      "DateTime, DateTimeOriginal and DateTimeDigitized are changed where the photo has them; the image data and "
      "every other part of the file stay as they are. A date text that cannot be read is left as it is, and the "
      "file is named on standard error; so is a file without EXIF dates.",
      "",
      "  # the camera's clock was an hour ahead\n"
      "  vistrel exifdate --shift -0:01:00:00 IMG_*.jpg\n"
      "  # scans get the day they were taken\n"
      "  vistrel exifdate --set \"1987:06:14 12:00:00\" scan1.jpg scan2.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<ExifDateCommand>(args); }};
  return info;
}

const CommandInfo& filedateCommand() {
  static const CommandInfo info{
      "filedate",
      "filedate --set \"YYYY-MM-DD HH:MM:SS\" [--modified] [--accessed] FILE...",
      "Set the modification and access times of files.",
      kFileOptions,
      "The date is local time and set to the second. A file's creation time is kept by the file system itself and "
      "cannot be set.",
      "",
      "  # the photos of a trip get its last day\n"
      "  vistrel filedate --set \"2004-07-01 18:00:00\" --modified trip/*.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<FileDateCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
