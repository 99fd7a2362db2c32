#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/temp_folder.h"
#include "tools/search/file_content.h"
#include "tools/search/ti_search.h"

namespace vistrel::search {
namespace {

TEST(ContentTest, PhrasesInTexts) {
  const struct {
    const char* phrase;
    const char* text;
    bool found;
    std::size_t at;
  } cases[] = {
      {"ABC", "xabcx", true, 1},
      {"bbbb", "babbbb", true, 2},
      {"abd", "abcabcab", false, 0},
      {"abc", "ab", false, 0},
      {"end", "at the END", true, 7},
      {"x", "x", true, 0},
      // Only ASCII letters fold: Ä and ä are other bytes.
      {"ä", "Ä", false, 0},
  };
  for (const auto& c : cases) {
    const TTISearch::Scan scan = TTISearch(c.phrase).Find(c.text);
    EXPECT_EQ(scan.found, c.found) << c.phrase << " in " << c.text;
    if (c.found) {
      EXPECT_EQ(scan.position, c.at) << c.phrase;
    }
  }
}

// Long texts are filtered many windows at a time: the phrase at every offset
// of such a stretch, behind windows whose first and last bytes fit but whose
// middle does not.
TEST(ContentTest, EveryOffsetOfALongText) {
  const TTISearch needle("Needle");
  for (std::size_t at = 0; at < 80; ++at) {
    std::string text(100, '.');
    for (std::size_t decoy = 0; decoy + 6 <= at; decoy += 7) text.replace(decoy, 6, "nEEdXE");
    text.replace(at, 6, "nEEDLE");
    const TTISearch::Scan scan = needle.Find(text);
    EXPECT_TRUE(scan.found && scan.position == at) << at;
    EXPECT_FALSE(needle.Find(text, at + 1).found) << at;
  }
}

class FileContentTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::atomic<bool> cancel{false};
};

// The reader takes blocks of 128 KiB; the phrase is put across a boundary at
// every offset, and at the very end of the file.
TEST_F(FileContentTest, FindsAPhraseAcrossBlocksAndAtTheEnd) {
  const std::string phrase = "Needle";
  for (std::size_t before = 1; before < phrase.size(); ++before) {
    std::string content((1 << 17) - before, 'e');
    content += "nEEDLE" + std::string(100, 'e');
    EXPECT_TRUE(fileContains(folder.write("cross.bin", content), TTISearch(phrase), cancel)) << before;
  }
  std::string tail(3 << 20, 'd');
  tail += "needle";
  EXPECT_TRUE(fileContains(folder.write("tail.bin", tail), TTISearch(phrase), cancel));
  tail.pop_back();
  EXPECT_FALSE(fileContains(folder.write("tail.bin", tail), TTISearch(phrase), cancel));
}

TEST_F(FileContentTest, StopsWhenCancelledAndThrowsForAMissingFile) {
  const auto file = folder.write("a.txt", "needle");
  cancel = true;
  EXPECT_FALSE(fileContains(file, TTISearch("needle"), cancel));
  EXPECT_THROW(fileContains(folder / "missing.txt", TTISearch("needle"), cancel), Error);
}

}  // namespace
}  // namespace vistrel::search
