#include "metadata/exif_dates.h"

#include <gtest/gtest.h>

#include "exif_builder.h"
#include "metadata/file_dates.h"
#include "metadata/img_data.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::metadata {
namespace {

using platform::DateTime;
using test::TiffWriter;

constexpr int kDateTime = 0x0132, kOriginal = 0x9003, kDigitized = 0x9004;

class ExifDatesTest : public ::testing::Test {
 protected:
  // A JPEG whose three dates hold the texts, with a known last-write time.
  std::filesystem::path photo(const std::string& dateTime, const std::string& original, const std::string& digitized) {
    TiffWriter w{false};
    const std::uint32_t sub = w.addDirectory({w.ascii(kOriginal, original), w.ascii(kDigitized, digitized)});
    const std::uint32_t first =
        w.addDirectory({w.ascii(0x010F, "Cam"), w.ascii(kDateTime, dateTime), w.longValue(0x8769, sub)});
    const auto file = folder.write("p.jpg", test::jpegOf({test::exifSegment(w.block(first))}));
    platform::setLastWriteTime(file, fileTime);
    return file;
  }

  std::vector<std::string> datesOf(const std::filesystem::path& file) {
    TimgData data;
    data.ReadMetadata(file);
    const TImageInfo& exif = *data.Exif;
    return {exif.BytesAt(exif.DateTimePos, 19), exif.BytesAt(exif.DateTimeOriginalPos, 19),
            exif.BytesAt(exif.DateTimeDigitizedPos, 19)};
  }

  test::TempFolder folder;
  const platform::SystemTime fileTime =
      platform::fromLocal({2001, 2, 3, 4, 5, 7, 0}) + std::chrono::microseconds(123457);
};

TEST(ExifDateShiftText, SignAppliesToTheWholeDifference) {
  const struct {
    const char* text;
    std::optional<std::array<int, 4>> parts;
  } cases[] = {
      {"-0:01:00:00", std::array{0, -1, 0, 0}},
      {"+2:03:04:05", std::array{2, 3, 4, 5}},
      {"400:00:00:01", std::array{400, 0, 0, 1}},
      {"1:24:00:00", std::nullopt},
      {"1:00:60:00", std::nullopt},
      {"1:00:00", std::nullopt},
      {"1:00:00:00:00", std::nullopt},
      {"--1:00:00:00", std::nullopt},
      {"a:00:00:00", std::nullopt},
      {"1: 1:00:00", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto shift = ParseExifDateShift(c.text);
    ASSERT_EQ(shift.has_value(), c.parts.has_value()) << c.text;
    if (shift) {
      EXPECT_EQ((std::array{shift->days, shift->hours, shift->minutes, shift->seconds}), *c.parts) << c.text;
    }
  }
}

TEST_F(ExifDatesTest, ShiftsMoveAllThreeDatesAcrossDaysMonthsAndYearsAndKeepTheFileTime) {
  const struct {
    const char* from;
    ExifDateShift shift;
    const char* to;
  } cases[] = {
      {"2003:01:01 00:30:00", {0, -1, 0, 0}, "2002:12:31 23:30:00"},
      {"2004:02:28 12:00:00", {1, 0, 0, 0}, "2004:02:29 12:00:00"},
      {"2003:02:28 12:00:00", {1, 0, 0, 0}, "2003:03:01 12:00:00"},
      {"2005:03:01 00:00:00", {-366, 0, 0, 0}, "2004:02:29 00:00:00"},
      {"2019:12:31 23:45:00", {0, 0, 30, 0}, "2020:01:01 00:15:00"},
      {"2010:06:30 10:00:00", {0, 1, -30, 5}, "2010:06:30 10:30:05"},
  };
  for (const auto& c : cases) {
    const auto file = photo(c.from, c.from, c.from);
    const ExifDateResult result = ChangeExifDates(file, c.shift);
    EXPECT_EQ(result.changed, 3);
    EXPECT_EQ(datesOf(file), std::vector<std::string>(3, c.to)) << c.from;
    EXPECT_EQ(platform::lastWriteTime(file), fileTime);
  }
}

TEST_F(ExifDatesTest, FixedDateReplacesAllThree) {
  const auto file = photo("2003:01:01 00:30:00", "2003:01:01 00:30:00", "bad");
  EXPECT_EQ(ChangeExifDates(file, DateTime{1999, 12, 31, 23, 59, 58, 0}).changed, 2);
  const auto dates = datesOf(file);
  EXPECT_EQ(dates[0], "1999:12:31 23:59:58");
  EXPECT_EQ(dates[1], "1999:12:31 23:59:58");
}

// A date that cannot be read stays as it is, instead of being shifted from
// some day zero and written back; the caller hears of it.
TEST_F(ExifDatesTest, UnreadableDateIsLeftAndCounted) {
  const auto file = photo("2003:13:45 99:00:00", "2003:01:01 00:30:00", "2003:01:01 00:30:00");
  const ExifDateResult result = ChangeExifDates(file, ExifDateShift{1, 0, 0, 0});
  EXPECT_EQ(result.changed, 2);
  EXPECT_EQ(result.unreadable, 1);
  EXPECT_EQ(datesOf(file),
            (std::vector<std::string>{"2003:13:45 99:00:00", "2003:01:02 00:30:00", "2003:01:02 00:30:00"}));
}

// A date field too short for a whole date is not written over: the bytes
// behind it belong to other tags.
TEST_F(ExifDatesTest, ShortDateFieldIsNeverOverwritten) {
  const auto file = photo("2003:01:01", "2003:01:01 00:30:00", "2003:01:01 00:30:00");
  const std::string before = platform::readFile(file);
  EXPECT_EQ(ChangeExifDates(file, DateTime{1999, 1, 1, 0, 0, 0, 0}).changed, 2);
  TimgData data;
  data.ReadMetadata(file);
  EXPECT_EQ(data.Exif->CameraMake, "Cam");
  EXPECT_EQ(data.Exif->DateTimePos, 0);
  EXPECT_EQ(data.Exif->ValueOfName("DateTime"), "2003:01:01");
  EXPECT_EQ(platform::readFile(file).size(), before.size());
}

TEST_F(ExifDatesTest, FilesWithoutDatesOrWritableNamesAreLeftAlone) {
  const auto plain = folder.write("plain.jpg", test::jpegOf({test::segment(0xFE, "note")}));
  EXPECT_EQ(ChangeExifDates(plain, ExifDateShift{1, 0, 0, 0}).changed, 0);
  EXPECT_EQ(platform::readFile(plain), test::jpegOf({test::segment(0xFE, "note")}));

  const auto file = photo("2003:01:01 00:30:00", "2003:01:01 00:30:00", "2003:01:01 00:30:00");
  const std::string before = platform::readFile(file);
  platform::setReadOnly(file, true);
  EXPECT_THROW(ChangeExifDates(file, ExifDateShift{1, 0, 0, 0}), Error);
  EXPECT_EQ(platform::readFile(file), before);
}

TEST_F(ExifDatesTest, FileDateSetsTheChosenTimesToTheSecond) {
  const auto file = folder.write("f.txt", "x");
  const platform::SystemTime accessed = platform::lastAccessTime(file);
  SetFileDate(file, {2003, 7, 8, 9, 10, 11, 0}, {.modified = true, .accessed = false});
  EXPECT_EQ(platform::toLocal(platform::lastWriteTime(file)), (DateTime{2003, 7, 8, 9, 10, 11, 0}));
  EXPECT_EQ(platform::lastAccessTime(file), accessed);
  SetFileDate(file, {2004, 1, 1, 0, 0, 1, 0}, {.modified = false, .accessed = true});
  EXPECT_EQ(platform::toLocal(platform::lastAccessTime(file)), (DateTime{2004, 1, 1, 0, 0, 1, 0}));
  EXPECT_THROW(SetFileDate(file, {2001, 2, 29, 0, 0, 0, 0}, {}), Error);
  EXPECT_THROW(SetFileDate(folder / "missing", {2001, 2, 28, 0, 0, 0, 0}, {}), Error);
}

}  // namespace
}  // namespace vistrel::metadata
