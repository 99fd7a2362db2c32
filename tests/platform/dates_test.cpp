#include "platform/dates.h"

#include <stdlib.h>
#include <time.h>

#include <gtest/gtest.h>

namespace vistrel::platform {
namespace {

class DatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    useLocale("en_US");
  }
  void TearDown() override {
    ::unsetenv("TZ");
    ::tzset();
  }
};

TEST_F(DatesTest, LocalTimeRoundTrips) {
  const DateTime summer{2024, 7, 14, 13, 5, 59, 250};
  EXPECT_EQ(toLocal(fromLocal(summer)), summer);
  const DateTime winter{2003, 1, 2, 23, 59, 58, 0};
  EXPECT_EQ(toLocal(fromLocal(winter)), winter);
}

TEST_F(DatesTest, DosDateTimeKeepsTwoSecondSteps) {
  const DateTime odd{2005, 12, 31, 23, 59, 59, 900};
  const DateTime back = fromDosDateTime(toDosDateTime(odd));
  EXPECT_EQ(back, (DateTime{2005, 12, 31, 23, 59, 58, 0}));
  EXPECT_EQ(toDosDateTime({1980, 1, 1, 0, 0, 0, 0}), (1u << 5 | 1u) << 16);
  // Years outside the DOS range are clamped rather than wrapped.
  EXPECT_EQ(fromDosDateTime(toDosDateTime({1970, 1, 1})).year, 1980);
  EXPECT_EQ(fromDosDateTime(toDosDateTime({2200, 1, 1})).year, 2107);
}

TEST_F(DatesTest, RoundTripDosTruncatesFileTimesToEvenSeconds) {
  const SystemTime t = fromLocal({2010, 6, 1, 10, 20, 31, 700});
  EXPECT_EQ(toLocal(roundTripDos(t)), (DateTime{2010, 6, 1, 10, 20, 30, 0}));
  EXPECT_EQ(roundTripDos(roundTripDos(t)), roundTripDos(t));
}

TEST_F(DatesTest, TextsFollowTheLocaleAndLeaveOutMidnight) {
  EXPECT_EQ(shortDateText({2024, 3, 9}), "3/9/2024");
  EXPECT_EQ(dateTimeText({2024, 3, 9, 0, 0, 0, 0}), "3/9/2024");
  EXPECT_EQ(dateTimeText({2024, 3, 9, 14, 5, 7, 0}), "3/9/2024 2:05:07 PM");
  useLocale("de_DE");
  EXPECT_EQ(dateTimeText({2024, 3, 9, 14, 5, 7, 0}), "09.03.2024 14:05:07");
}

TEST_F(DatesTest, ShortDatesParseBack) {
  for (const char* locale : {"en_US", "de_DE", "ja_JP"}) {
    useLocale(locale);
    const DateTime date{2019, 11, 28};
    EXPECT_EQ(parseShortDate(shortDateText(date)), date) << locale;
    const DateTime withTime{2019, 11, 28, 9, 41, 2, 0};
    EXPECT_EQ(parseShortDate(dateTimeText(withTime)), withTime) << locale;
  }
  EXPECT_FALSE(parseShortDate("not a date"));
  EXPECT_FALSE(parseShortDate(""));
}

}  // namespace
}  // namespace vistrel::platform
