#include "browser/list_sorting.h"

#include <gtest/gtest.h>

#include "platform/dates.h"

namespace vistrel::browser {
namespace {

struct Row {
  std::string id;
  SortKeys keys;
  ColumnKey key;
};

Row row(std::string id, std::string caption, std::string size = "", platform::SystemTime lastWrite = {}) {
  return {std::move(id), {std::move(caption), std::move(size), lastWrite, ""}, {}};
}

std::string sorted(std::vector<Row> rows, int column, const SortFlags& flags) {
  for (Row& r : rows) r.key = columnKey(r.keys, column, flags.numbersByValue);
  sortWithCallback(rows, [&](const Row& a, const Row& b) { return compareRows(a.key, b.key, column, flags); });
  std::string order;
  for (const auto& r : rows) order += r.id;
  return order;
}

class ListSortingTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::useLocale("en_US"); }
};

TEST_F(ListSortingTest, ColumnClicksToggleTheirFamilyFirst) {
  SortFlags flags;
  flags.toggle(kSizeColumn);
  EXPECT_TRUE(flags.size);  // a first click on Size sorts ascending
  flags.toggle(kPropertiesColumn);
  EXPECT_FALSE(flags.size);  // Properties shares the flag
  flags.toggle(kDescriptionColumn);
  EXPECT_TRUE(flags.name);
  EXPECT_FALSE(flags.date);
}

TEST_F(ListSortingTest, SizesSortLargestFirstAndTiesFollowTheFlag) {
  const std::vector<Row> rows{row("a", "a", "10 KB"), row("b", "b", "2 KB"), row("c", "c", "10 KB"),
                              row("d", "d", "x")};
  EXPECT_EQ(sorted(rows, kSizeColumn, {}), "cabd");             // equal sizes swap with the flag off
  EXPECT_EQ(sorted(rows, kSizeColumn, {.size = true}), "dbac");  // and keep their order with it on
}

TEST_F(ListSortingTest, NamesAndDescriptionsSortByCaption) {
  const std::vector<Row> rows{row("1", "beta"), row("2", "Alpha"), row("3", "alpha"), row("4", "Ähre")};
  EXPECT_EQ(sorted(rows, kNameColumn, {}), "4321");  // accents sort with their letter, case only breaks ties
  EXPECT_EQ(sorted(rows, kDescriptionColumn, {.name = true}), "1234");
}

TEST_F(ListSortingTest, NamesSortAsWordsInEitherCaseAndNumbersByValueWhateverTheLocale) {
  const std::vector<Row> rows{row("1", "img10.jpg"), row("2", "Img2.jpg"), row("3", "été.jpg"),
                              row("4", "t.jpg"),     row("5", "Zebra.jpg"), row("6", "apple.jpg")};
  for (const char* locale : {"en_US", "fr_FR", "C"}) {
    platform::useLocale(locale);
    EXPECT_EQ(sorted(rows, kNameColumn, {}), "632145") << locale;
    EXPECT_EQ(sorted(rows, kNameColumn, {.numbersByValue = false}), "631245") << locale;
  }
}

TEST_F(ListSortingTest, DatesSortNewestFirstToTheSecondAsShown) {
  const auto at = [](int year, int millisecond = 0) {
    return platform::fromLocal({year, 5, 1, 10, 0, 0, millisecond});
  };
  const std::vector<Row> rows{row("a", "a", "", at(2001)), row("b", "b", "", at(2020)), row("c", "c", "", at(1999)),
                              row("d", "d", "", at(1960))};
  EXPECT_EQ(sorted(rows, kDateColumn, {}), "bacd");
  EXPECT_EQ(sorted(rows, kDateColumn, {.date = true}), "dcab");
  // The column shows no milliseconds: times within one second keep their order.
  const std::vector<Row> sameSecond{row("x", "x", "", at(2020, 100)), row("y", "y", "", at(2020, 900))};
  EXPECT_EQ(sorted(sameSecond, kDateColumn, {}), "xy");
  EXPECT_EQ(sorted(sameSecond, kDateColumn, {.date = true}), "xy");
}

TEST_F(ListSortingTest, TheSortSurvivesComparisonsThatContradictThemselves) {
  std::vector<int> rows(1000);
  for (int i = 0; i < 1000; ++i) rows[i] = i;
  sortWithCallback(rows, [](int, int) { return 1; });  // "the later one first", always
  EXPECT_EQ(rows.size(), 1000u);
  std::vector<int> seen(1000, 0);
  for (int r : rows) ++seen[r];
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 1000);
}

}  // namespace
}  // namespace vistrel::browser
