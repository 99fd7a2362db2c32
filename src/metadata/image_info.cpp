#include "metadata/image_info.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "metadata/exif_text.h"
#include "metadata/img_data.h"
#include "metadata/maker_notes.h"
#include "metadata/tag_tables.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

// A hostile block may chain many directories or point many entries at one
// large value; beyond these budgets the walk stops instead of eating memory.
constexpr int kMaxDirectories = 64;
constexpr std::int64_t kMaxCopiedBytes = 8 << 20;
constexpr std::int64_t kCostPerEntry = 64;
constexpr int kDateLength = 19;
constexpr long long kMaxShiftSeconds = 10000LL * 366 * 86400;

std::string cut(const std::string& text, std::size_t capacity) {
  return std::string(platform::utf8Prefix(text, capacity));
}

int rounded(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 2e9) return 0;
  return static_cast<int>(std::lround(value));
}

platform::DateTime addSeconds(const platform::DateTime& date, long long seconds) {
  using namespace std::chrono;
  const sys_days day = year_month_day{year{date.year}, month(static_cast<unsigned>(date.month)),
                                      std::chrono::day(static_cast<unsigned>(date.day))};
  const auto moment = day + hours{date.hour} + minutes{date.minute} + std::chrono::seconds{date.second + seconds};
  const auto newDay = floor<days>(moment);
  const year_month_day ymd{newDay};
  const hh_mm_ss time{moment - newDay};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()), 0};
}

// Where a date text may be written over: only into a text field that holds
// all 19 characters, or the bytes after it would be overwritten.
std::int64_t datePosition(const TTagEntry& entry) {
  return entry.Format == kAscii && entry.Size >= kDateLength ? entry.ValuePosition : 0;
}

}  // namespace

struct TImageInfo::Walk {
  std::int64_t base = 0;
  std::set<std::int64_t> visited;
};

std::optional<platform::DateTime> ParseExifDate(std::string_view text) {
  if (text.size() < kDateLength) return std::nullopt;
  const auto field = [&](std::size_t at, std::size_t length) {
    const auto value = platform::parseInteger(text.substr(at, length));
    return value && *value >= 0 ? static_cast<int>(*value) : -1;
  };
  const platform::DateTime date{field(0, 4), field(5, 2), field(8, 2), field(11, 2), field(14, 2), field(17, 2), 0};
  if (!date.isValid()) return std::nullopt;
  return date;
}

std::string ExifDateText(const platform::DateTime& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", date.year, date.month, date.day, date.hour,
                date.minute, date.second);
  return text;
}

TImageInfo::TImageInfo(TimgData& owner) : Owner(owner), copyBudget_(kMaxCopiedBytes) {}

int TImageInfo::IndexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    if (platform::equalsIgnoreCase(Entries[i].Name, name)) return static_cast<int>(i);
  }
  return -1;
}

std::string TImageInfo::ValueOfName(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string() : Entries[index].DisplayText;
}

TTagEntry TImageInfo::EntryOfName(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? TTagEntry{} : Entries[index];
}

double TImageInfo::NumberOfName(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? 0.0 : NumericValueOf(Entries[index].RawBytes, Entries[index].Format, BigEndian);
}

long long TImageInfo::IntegerOfName(std::string_view name) const { return rounded(NumberOfName(name)); }

int TImageInfo::AddTagEntry(const TTagEntry& entry) {
  if (entry.Tag != 0) Entries.push_back(entry);
  return EntryCount() - 1;
}

void TImageInfo::ReadDirectory(std::int64_t start, std::int64_t base, std::span<const TTagEntry> table) {
  Walk walk;
  walk.base = OffsetBase = base;
  copyBudget_ = kMaxCopiedBytes;
  walkDirectory(walk, start, table);
}

void TImageInfo::walkDirectory(Walk& walk, std::int64_t start, std::span<const TTagEntry> table) {
  // A pointer back into a directory already walked would recurse forever.
  if (!walk.visited.insert(start).second) return;
  enforce(walk.visited.size() <= kMaxDirectories, "Too many EXIF directories");
  if (!Contains(start, 2) || !Contains(start, 2 + 12 * std::int64_t{Word16At(start)})) {
    Owner.ErrorText = "Illegally sized directory";
    return;
  }
  const int count = Word16At(start);
  for (int i = 0; i < count; ++i) readEntry(walk, start + 2 + 12 * i, table);
}

void TImageInfo::readEntry(Walk& walk, std::int64_t at, std::span<const TTagEntry> table) {
  const std::uint16_t tag = Word16At(at);
  const std::uint16_t format = Word16At(at + 2);
  const std::int64_t bytes = std::int64_t{static_cast<std::uint32_t>(Long32At(at + 4))} * ComponentSize(format);
  if (bytes == 0) return;
  const std::int64_t valuePosition = bytes <= 4 ? at + 8 : Long32At(at + 8) + walk.base;
  TTagEntry entry = FindTagRow(table, tag);
  entry.RawBytes = BytesAt(valuePosition, bytes);
  chargeCopy(static_cast<std::int64_t>(entry.RawBytes.size()));

  std::string display;
  if (format == kAscii) {
    display = platform::textFromFile(entry.RawBytes.substr(0, static_cast<std::size_t>(bytes - 1)));
  } else if (format == kUndefined) {
    display = "\"" + platform::textFromFile(entry.RawBytes) + "\"";
  } else {
    display = FormatComponents(entry.RawBytes, format, entry.DecodeList, entry.FormatString, BigEndian);
  }
  display = entry.Tag != 0 && entry.Formatter ? entry.Formatter(display) : PrintableText(display);
  if (entry.Tag == 0x9286) {
    // Writers differ on a terminating zero, so the whole field after the
    // 8-byte character-code header is the text, without trailing zeros.
    UserCommentLength = std::max<std::int64_t>(bytes - 8, 0);
    UserCommentPos = valuePosition;
    std::string comment = BytesAt(valuePosition + 8, UserCommentLength);
    comment.erase(comment.find_last_not_of('\0') + 1);
    display = platform::textFromFile(platform::trimBlanks(comment));
    UserCommentText = display;
  }
  entry.DisplayText = display;
  entry.Size = static_cast<std::int64_t>(entry.RawBytes.size());
  entry.ValuePosition = valuePosition;
  entry.Format = format;
  ListingText += "\r\n" + entry.Label + " = " + display;
  rememberSpecialTag(walk, entry, at);
  AddTagEntry(entry);
}

void TImageInfo::rememberSpecialTag(Walk& walk, const TTagEntry& entry, std::int64_t at) {
  switch (entry.Tag) {
    case 0x0100:
    case 0xA002:
      ImageWidth = rounded(NumericValueOf(entry.RawBytes, entry.Format, BigEndian));
      WidthValuePos = at + 8;
      break;
    case 0x0101:
    case 0xA003:
      ImageHeight = rounded(NumericValueOf(entry.RawBytes, entry.Format, BigEndian));
      HeightValuePos = at + 8;
      break;
    case 0x010F: CameraMake = cut(entry.DisplayText, 32); break;
    case 0x0110: CameraModel = cut(entry.DisplayText, 40); break;
    case 0x0132:
      DateTimePos = datePosition(entry);
      CameraDate = cut(entry.DisplayText, 20);
      break;
    case 0x9003:
      DateTimeOriginalPos = datePosition(entry);
      CameraDate = cut(entry.DisplayText, 20);
      break;
    case 0x9004: DateTimeDigitizedPos = datePosition(entry); break;
    case 0x9000: ExifVersionText = platform::textFromFile(entry.RawBytes.substr(0, 6)); break;
    case 0x9209: FlashValue = rounded(NumericValueOf(entry.RawBytes, entry.Format, BigEndian)); break;
    case 0x014A:
    case 0x8769:
    case 0xA005: followPointer(walk, entry.ValuePosition, MainTagTable()); break;
    case 0x8825: followPointer(walk, entry.ValuePosition, GpsTagTable()); break;
    case 0x927C:
      MakerNoteBytes = entry.RawBytes;
      MakerNotePos = entry.ValuePosition;
      MakerNoteResult = TmsInfo(TiffMode, *this).DecodeMakerNote();
      break;
    default: break;
  }
}

void TImageInfo::chargeCopy(std::int64_t bytes) {
  copyBudget_ -= kCostPerEntry + bytes;
  enforce(copyBudget_ >= 0, "Too much EXIF data");
}

void TImageInfo::followPointer(Walk& walk, std::int64_t valuePosition, std::span<const TTagEntry> table) {
  // A damaged sub-directory costs its own entries, not those of its parent.
  try {
    walkDirectory(walk, Long32At(valuePosition) + walk.base, table);
  } catch (const Error&) {
  }
}

void TImageInfo::AddFocalLengthIn35mm() {
  if (IndexOfName("FocalLengthin35mmFilm") >= 0) return;
  long long unit = IntegerOfName("FocalPlaneResolutionUnit");
  if (unit <= 0) unit = IntegerOfName("ResolutionUnit");
  const double millimetresPerUnit = unit == 2 ? 25.4 : unit == 3 ? 10.0 : 0.0;
  const double focalLength = NumberOfName("FocalLength");
  if (millimetresPerUnit == 0 || focalLength == 0) return;
  const long long x = IntegerOfName("FocalPlaneXResolution");
  const long long y = IntegerOfName("FocalPlaneYResolution");
  const double width = x > 0 ? ImageWidth * millimetresPerUnit / x : 0.0;
  const double height = y > 0 ? ImageHeight * millimetresPerUnit / y : 0.0;
  if (!(width * height > 0)) return;
  TTagEntry entry = FindTagRowByName("FocalLengthIn35mmFilm");
  entry.DisplayText = FormatReal("%5.2f", focalLength * 43.26661531 / std::hypot(width, height));
  entry.FormatString = "%s mm";
  entry.Format = kSRational;
  AddTagEntry(entry);
  ListingText += "\r\n" + entry.Label + " = " + entry.DisplayText;
}

std::optional<platform::DateTime> TImageInfo::DateAt(std::int64_t position) const {
  return ParseExifDate(BytesAt(position, kDateLength));
}

void TImageInfo::PutDateAt(std::int64_t position, const platform::DateTime& date) {
  enforce(Contains(position, kDateLength), "The date lies outside the EXIF block");
  Buffer.replace(position - 1, kDateLength, ExifDateText(date));
}

int TImageInfo::ShiftAllDates(int days, int hours, int minutes, int seconds) {
  const long long offset = ((days * 24LL + hours) * 60 + minutes) * 60 + seconds;
  int unreadable = 0;
  for (const std::int64_t position : {DateTimePos, DateTimeOriginalPos, DateTimeDigitizedPos}) {
    // A date that does not parse cannot be shifted; it is left as it is.
    if (position <= 0) continue;
    const auto date = DateAt(position);
    // Beyond ten thousand years the calendar arithmetic itself would overflow.
    const bool inRange = date && std::llabs(offset) <= kMaxShiftSeconds;
    const auto shifted = inRange ? addSeconds(*date, offset) : platform::DateTime{};
    if (inRange && shifted.year >= 1 && shifted.year <= 9999) {
      PutDateAt(position, shifted);
    } else {
      ++unreadable;
    }
  }
  return unreadable;
}

void TImageInfo::SetAllDates(const platform::DateTime& date) {
  for (const std::int64_t position : {DateTimePos, DateTimeOriginalPos, DateTimeDigitizedPos}) {
    if (position > 0) PutDateAt(position, date);
  }
}

}  // namespace vistrel::metadata
