#include "tools/search/my_ff.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/temp_folder.h"
#include "tools/search/file_masks.h"
#include "tools/search/search_criteria.h"

namespace vistrel::search {
namespace {

namespace fs = std::filesystem;
using platform::DateTime;

class MyFFTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::atomic<bool> cancel{false};

  // The found paths relative to the folder, in the order found.
  std::vector<std::string> find(const FileCriteria& criteria, const fs::path& start = {}) {
    TMyFF finder(criteria);
    std::vector<std::string> found;
    finder.OnFileFound = [&](const FoundFile& file) {
      found.push_back(file.path.lexically_relative(folder.path()).string());
      return true;
    };
    finder.Search(start.empty() ? folder.path() : start, cancel);
    return found;
  }

  fs::path fileOfSize(const std::string& name, std::size_t size) { return folder.write(name, std::string(size, 'x')); }
};

TEST_F(MyFFTest, WalksEachFoldersFilesBeforeItsSubfoldersInNameOrder) {
  for (const char* name : {"b/z.jpg", "b/a.jpg", "a/deep/x.jpg", "c.jpg", "a.txt", "a/y.jpg"}) folder.write(name, "");
  FileCriteria criteria;
  EXPECT_EQ(find(criteria), (std::vector<std::string>{"a.txt", "c.jpg", "a/y.jpg", "a/deep/x.jpg", "b/a.jpg", "b/z.jpg"}));
  criteria.masks = parseMaskList("*.JPG");
  criteria.recurse = false;
  EXPECT_EQ(find(criteria, folder.path().string() + "/"), std::vector<std::string>{"c.jpg"});
  EXPECT_TRUE(find(criteria, folder / "missing").empty());
}

TEST_F(MyFFTest, SizeRulesAroundOneKilobyte) {
  for (const std::size_t size : {1023, 1024, 1025}) fileOfSize(std::to_string(size), size);
  FileCriteria atLeast, atMost;
  applySizeRule(atLeast, SizeRule::AtLeast, 1);
  applySizeRule(atMost, SizeRule::AtMost, 1);
  EXPECT_EQ(find(atLeast), (std::vector<std::string>{"1024", "1025"}));
  EXPECT_EQ(find(atMost), (std::vector<std::string>{"1023", "1024"}));
}

// Sizes are 64 bits: a sparse file of 5 GiB is not taken for 1 GiB.
TEST_F(MyFFTest, FilesBeyondFourGigabytesKeepTheirSize) {
  const fs::path big = folder / "big.bin";
  fileOfSize("big.bin", 0);
  fs::resize_file(big, 5ull << 30);
  FileCriteria criteria;
  applySizeRule(criteria, SizeRule::AtLeast, 4ull << 20);
  EXPECT_EQ(find(criteria), std::vector<std::string>{"big.bin"});
  applySizeRule(criteria, SizeRule::AtMost, 2ull << 20);  // the bounds swap
  EXPECT_EQ(find(criteria), std::vector<std::string>{});
}

TEST_F(MyFFTest, ModifiedBetweenTakesWholeDays) {
  const struct {
    const char* name;
    DateTime time;
  } files[] = {
      {"before", {2024, 6, 9, 23, 59, 59}},      {"first", {2024, 6, 10, 0, 0, 0}},
      {"last-2359", {2024, 6, 20, 23, 59, 0}},   {"next-0000", {2024, 6, 21, 0, 0, 0}},
      {"next-000002", {2024, 6, 21, 0, 0, 2}},
  };
  for (const auto& file : files) platform::setLastWriteTime(folder.write(file.name, ""), platform::fromLocal(file.time));
  FileCriteria criteria;
  applyModifiedBetween(criteria, {2024, 6, 20}, {2024, 6, 10});
  std::vector<std::string> found = find(criteria);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"first", "last-2359", "next-0000"}));
}

TEST_F(MyFFTest, HiddenAndReadOnlyFilesOnlyWhenAllowed) {
  folder.write("plain.jpg", "");
  folder.write(".hidden.jpg", "");
  folder.write(".cache/inner.jpg", "");
  ::chmod(folder.write("locked.jpg", "").c_str(), 0444);
  FileCriteria criteria;
  EXPECT_EQ(find(criteria).size(), 4u);
  criteria.hidden = false;
  EXPECT_EQ(find(criteria), (std::vector<std::string>{"locked.jpg", "plain.jpg"}));
  criteria.readOnly = false;
  criteria.system = true;
  EXPECT_EQ(find(criteria), std::vector<std::string>{"plain.jpg"});
}

TEST_F(MyFFTest, ContentAndAborts) {
  folder.write("a.txt", "xabcx");
  folder.write("b.txt", "nothing");
  folder.write("sub/c.txt", "ABC");
  FileCriteria criteria;
  criteria.phrase = "ABC";
  EXPECT_EQ(find(criteria), (std::vector<std::string>{"a.txt", "sub/c.txt"}));

  TMyFF finder(criteria);
  int found = 0;
  finder.OnFileFound = [&](const FoundFile&) { return ++found < 1; };
  EXPECT_FALSE(finder.Search(folder.path(), cancel));
  EXPECT_EQ(found, 1);
  finder.OnFileFound = nullptr;
  std::vector<fs::path> entered;
  finder.OnDirectory = [&](const fs::path& path) {
    entered.push_back(path);
    return entered.size() < 2;
  };
  EXPECT_FALSE(finder.Search(folder.path(), cancel));
  EXPECT_EQ(entered, (std::vector<fs::path>{folder.path(), folder / "sub"}));
}

}  // namespace
}  // namespace vistrel::search
