#include <gtest/gtest.h>

#include "metadata/descriptions.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::metadata {
namespace {

class DescriptionsTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::filesystem::path file(const std::string& name) { return folder.write(name, "x"); }
  std::string stored() { return platform::readFile(folder / kDescriptionFileName); }
};

TEST(CleanDescription, MakesOneLineWithSingleBlanks) {
  EXPECT_EQ(CleanDescription("first\r\nsecond\n\rthird\rfourth\nfifth"), "first second third fourth fifth");
  EXPECT_EQ(CleanDescription("a    b \r\n\r\n c"), "a b c");
}

TEST_F(DescriptionsTest, NamesWithBlanksAreQuotedAndLinesSorted) {
  SetDescription(file("my photo.jpg"), "by the sea");
  SetDescription(file("a.jpg"), "typed\r\nover\r\nthree lines");
  SetDescription(file("B.jpg"), "bee");
  EXPECT_EQ(stored(), "\"my photo.jpg\" by the sea\r\na.jpg typed over three lines\r\nB.jpg bee\r\n");
  EXPECT_EQ(DescriptionOf(folder / "my photo.jpg"), "by the sea");
  EXPECT_EQ(DescriptionOf(folder / "a.jpg"), "typed over three lines");
  EXPECT_EQ(DescriptionOf(folder / "A.JPG"), "");  // letter case counts
}

TEST_F(DescriptionsTest, LaterLinesWinAndSettingRemovesAllOfAFile) {
  folder.write(kDescriptionFileName, "a.jpg first\r\n\r\nnoblank\r\n\"open quote\r\na.jpg second\nz.jpg zed\r\n");
  EXPECT_EQ(DescriptionOf(folder / "a.jpg"), "second");
  SetDescription(folder / "a.jpg", "third");
  EXPECT_EQ(stored(), "\"open quote\r\na.jpg third\r\nnoblank\r\nz.jpg zed\r\n");
  SetDescription(folder / "a.jpg", "");
  EXPECT_EQ(stored(), "\"open quote\r\nnoblank\r\nz.jpg zed\r\n");
}

TEST_F(DescriptionsTest, MissingFileMeansNoDescriptions) {
  EXPECT_EQ(DescriptionOf(folder / "a.jpg"), "");
  SetDescription(folder / "a.jpg", "");
  EXPECT_EQ(stored(), "");  // the last description removed leaves an empty file
}

TEST_F(DescriptionsTest, RenameMovesTheLineAndPurgeDropsStaleOnes) {
  SetDescription(file("a.jpg"), "x");
  SetDescription(file("keep me.jpg"), "kept");
  folder.write(kDescriptionFileName, stored() + "../escape.jpg outside\r\n");
  std::filesystem::rename(folder / "a.jpg", folder / "b.jpg");
  SetDescription(folder / "b.jpg", DescriptionOf(folder / "a.jpg"));
  PurgeDescriptions({folder.path()});
  EXPECT_EQ(stored(), "\"keep me.jpg\" kept\r\nb.jpg x\r\n");
  PurgeDescriptions({folder / "no such folder"});
}

TEST_F(DescriptionsTest, LinesOfAnyAgeMatchNamesAsTheyAreShown) {
  // A UTF-8 line, a Latin-1 line of an older program, and a file whose name
  // on disk is Latin-1 too.
  file("\xC5lesund.jpg");
  file("caf\xC3\xA9.jpg");
  folder.write(kDescriptionFileName, "caf\xC3\xA9.jpg Fjord caf\xC3\xA9\r\n\xC5lesund.jpg B\xE5t\r\n");
  EXPECT_EQ(DescriptionOf(folder / "caf\u00e9.jpg"), "Fjord caf\u00e9");
  EXPECT_EQ(DescriptionOf(folder / "\xC5lesund.jpg"), "B\u00e5t");
  PurgeDescriptions({folder.path()});
  EXPECT_EQ(stored(), "caf\u00e9.jpg Fjord caf\u00e9\r\n\u00c5lesund.jpg B\u00e5t\r\n");
}

TEST_F(DescriptionsTest, SaveFailuresAreReported) {
  // A description that cannot be stored must not look saved.
  EXPECT_THROW(SetDescription(folder / "gone" / "a.jpg", "lost"), Error);
  // A description file that cannot be read is an error, not an empty list
  // that would then be written over it.
  std::filesystem::create_directory(folder / kDescriptionFileName);
  EXPECT_THROW(DescriptionOf(folder / "a.jpg"), Error);
  EXPECT_THROW(PurgeDescriptions({folder.path()}), Error);
}

}  // namespace
}  // namespace vistrel::metadata
