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

TEST_F(DatesTest, FormatLettersWithLocaleNames) {
  const DateTime taken{2004, 1, 5, 14, 30, 7};  // a Monday
  const std::pair<const char*, const char*> cases[] = {
      {"dd_mm_yyyy", "05_01_2004"},  {"mmm_dd_yyyy", "Jan_05_2004"}, {"yyyy_mmm_dd", "2004_Jan_05"},
      {"dddd-d-mmm", "Monday-5-Jan"}, {"ddd-d-mm-yyyy", "Mon-5-01-2004"}, {"mmmm yy", "January 04"},
      {"hh_mm", "14_30"},            {"hh_mm_ss", "14_30_07"},      {"HH.NN:s", "14.30:7"},
      {"h mm", "14 30"},             {"m/d dd (at)", "1/5 05 (at)"},
  };
  for (const auto& [format, text] : cases) EXPECT_EQ(formatDateTime(taken, format), text) << format;
  useLocale("de_DE");
  EXPECT_EQ(formatDateTime(taken, "dddd d. mmmm"), "Montag 5. Januar");
}

}  // namespace
}  // namespace vistrel::platform
