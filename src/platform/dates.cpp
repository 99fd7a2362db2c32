#include "platform/dates.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <algorithm>
#include <cctype>
#include <ctime>

namespace vistrel::platform {
namespace {

QString dateFormat() {
  // Two-digit years make 1999 and 2099 look alike and cannot be read back.
  QString format = QLocale().dateFormat(QLocale::ShortFormat);
  if (!format.contains("yyyy")) format.replace("yy", "yyyy");
  return format;
}

QString timeFormat() {
  // The long format of Qt names the time zone, which a file time does not carry.
  // Made once: a listing formats the time of every file.
  static const QRegularExpression zone("\\s*t+");
  QString format = QLocale().timeFormat(QLocale::LongFormat);
  format.remove(zone);
  return format.trimmed();
}

QDate toQDate(const DateTime& d) { return QDate(d.year, d.month, d.day); }
QTime toQTime(const DateTime& d) { return QTime(d.hour, d.minute, d.second, d.millisecond); }

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }
std::string number(int value, std::size_t run) { return run >= 2 ? twoDigits(value) : std::to_string(value); }

std::string monthText(const DateTime& d, std::size_t run) {
  if (run <= 2) return number(d.month, run);
  return QLocale().monthName(d.month, run == 3 ? QLocale::ShortFormat : QLocale::LongFormat).toStdString();
}

std::string dayText(const DateTime& d, std::size_t run) {
  if (run <= 2) return number(d.day, run);
  const int weekday = toQDate(d).dayOfWeek();
  return QLocale().dayName(weekday, run == 3 ? QLocale::ShortFormat : QLocale::LongFormat).toStdString();
}

}  // namespace

bool DateTime::isValid() const {
  return QDate::isValid(year, month, day) && QTime::isValid(hour, minute, second, millisecond);
}

DateTime toLocal(SystemTime time) {
  const auto since = time.time_since_epoch();
  const auto seconds = std::chrono::floor<std::chrono::seconds>(since);
  const std::time_t t = static_cast<std::time_t>(seconds.count());
  std::tm tm{};
  localtime_r(&t, &tm);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(since - seconds);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
          static_cast<int>(millis.count())};
}

SystemTime fromLocal(const DateTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  return std::chrono::system_clock::from_time_t(t) + std::chrono::milliseconds(local.millisecond);
}

DateTime localNow() { return toLocal(std::chrono::system_clock::now()); }

std::uint32_t toDosDateTime(const DateTime& local) {
  const int year = std::clamp(local.year, 1980, 2107);
  const std::uint32_t date = static_cast<std::uint32_t>((year - 1980) << 9 | local.month << 5 | local.day);
  const std::uint32_t time = static_cast<std::uint32_t>(local.hour << 11 | local.minute << 5 | local.second / 2);
  return date << 16 | time;
}

DateTime fromDosDateTime(std::uint32_t dos) {
  const std::uint32_t date = dos >> 16, time = dos & 0xFFFF;
  return {static_cast<int>(1980 + (date >> 9)), static_cast<int>((date >> 5) & 15), static_cast<int>(date & 31),
          static_cast<int>(time >> 11),         static_cast<int>((time >> 5) & 63), static_cast<int>((time & 31) * 2)};
}

SystemTime roundTripDos(SystemTime time) { return fromLocal(fromDosDateTime(toDosDateTime(toLocal(time)))); }

std::string shortDateText(const DateTime& local) {
  return QLocale().toString(toQDate(local), dateFormat()).toStdString();
}

std::string longTimeText(const DateTime& local) {
  return QLocale().toString(toQTime(local), timeFormat()).toStdString();
}

std::string dateTimeText(const DateTime& local) {
  if (local.isMidnight()) return shortDateText(local);
  return shortDateText(local) + " " + longTimeText(local);
}

std::string formatDateTime(const DateTime& local, std::string_view format) {
  std::string text;
  bool afterHour = false;  // "hh_mm": the "mm" are minutes
  for (std::size_t i = 0; i < format.size();) {
    const char letter = char(std::tolower(static_cast<unsigned char>(format[i])));
    std::size_t run = 1;
    while (i + run < format.size() && std::tolower(static_cast<unsigned char>(format[i + run])) == letter) ++run;
    const bool minutes = letter == 'n' || (letter == 'm' && afterHour && run <= 2);
    if (minutes) {
      text += number(local.minute, run);
    } else if (letter == 'y') {
      text += run > 2 ? std::to_string(local.year) : twoDigits(local.year % 100);
    } else if (letter == 'm') {
      text += monthText(local, run);
    } else if (letter == 'd') {
      text += dayText(local, run);
    } else if (letter == 'h') {
      text += number(local.hour, run);
    } else if (letter == 's') {
      text += number(local.second, run);
    } else {
      text.append(format.substr(i, run));
      i += run;
      continue;
    }
    afterHour = letter == 'h';
    i += run;
  }
  return text;
}

void useLocale(std::string_view name) {
  QLocale::setDefault(QLocale(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
}

}  // namespace vistrel::platform
