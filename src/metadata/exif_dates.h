#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

#include "platform/dates.h"

namespace vistrel::metadata {

// A signed time difference; the parts add up, each with its own sign.
struct ExifDateShift {
  int days = 0;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};
// Either a difference to add or a date and time to put in place.
using ExifDateChange = std::variant<ExifDateShift, platform::DateTime>;

// "[+-]DAYS:HH:MM:SS", the sign for the whole difference ("-0:01:00:00" is an
// hour back); nothing for any other text.
std::optional<ExifDateShift> ParseExifDateShift(std::string_view text);

struct ExifDateResult {
  int changed = 0;     // date texts written
  int unreadable = 0;  // date texts that could not be read, left as they were
};
// Changes DateTime, DateTimeOriginal and DateTimeDigitized of a JPEG file where
// they are present, keeping its image data, its other segments and its
// last-write time. A file with no date to change is left alone. Throws Error.
ExifDateResult ChangeExifDates(const std::filesystem::path& file, const ExifDateChange& change);

}  // namespace vistrel::metadata
