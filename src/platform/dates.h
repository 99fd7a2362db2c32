#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel::platform {

using SystemTime = std::chrono::system_clock::time_point;

// A local date and time as the user's clock shows it.
struct DateTime {
  int year = 1980;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  auto operator<=>(const DateTime&) const = default;
  bool isValid() const;
  bool isMidnight() const { return hour == 0 && minute == 0 && second == 0 && millisecond == 0; }
};

DateTime toLocal(SystemTime time);
SystemTime fromLocal(const DateTime& local);
DateTime localNow();

// The DOS date-time word: date in the high 16 bits, time in the low 16, seconds
// counted in twos, years 1980-2107. Out-of-range years are clamped.
std::uint32_t toDosDateTime(const DateTime& local);
DateTime fromDosDateTime(std::uint32_t dos);
// A file time as the two-second local DOS form gives it back.
SystemTime roundTripDos(SystemTime time);

// The user's short date (always with a four-digit year) and long time texts.
std::string shortDateText(const DateTime& local);
std::string longTimeText(const DateTime& local);
// "date time", the time left out at exact midnight.
std::string dateTimeText(const DateTime& local);

// The date and time in a format of the usual letters, in either case:
// "yyyy"/"yy" the year; "mmmm"/"mmm" the locale's long/short month name and
// "mm"/"m" the month with/without a leading zero, or the minutes when they
// follow an hour; "dddd"/"ddd" the long/short weekday name and "dd"/"d" the
// day; "hh"/"h" the hour, "nn"/"n" the minutes, "ss"/"s" the seconds. Every
// other character is copied.
std::string formatDateTime(const DateTime& local, std::string_view format);

// Makes the texts above follow the named locale (like "en_US" or "de_DE")
// instead of the user's; for tests and for a user who chooses one.
void useLocale(std::string_view name);

}  // namespace vistrel::platform
