#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "browser/cache_location.h"
#include "browser/thumbnail_cache.h"
#include "noisy_photo.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

class CacheCommandTest : public ::testing::Test {
 protected:
  IsolatedUser user;
  TempFolder photos;
  fs::path big = photos / "big.jpg";
  fs::path small = photos / "small.jpg";
  fs::path root = user.home() / "cache";

  void SetUp() override {
    writeNoisyPhoto(big, 640, 480);
    writeNoisyPhoto(small, 40, 30);
    ASSERT_GT(fs::file_size(big), 100u * 1024);
  }
};

TEST_F(CacheCommandTest, FillsTheCacheThatTheListThenDrawsFrom) {
  const ProgramResult first = runVistrel({"cache", photos.path().string()});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.find("1 created, 0 already current, 1 below the minimum size, 0 failed"), std::string::npos)
      << first.out;
  EXPECT_NE(first.err.find("[1/1] " + big.string()), std::string::npos) << first.err;

  browser::ThumbnailCache cache({root});
  EXPECT_TRUE(cache.isCurrent(big));
  EXPECT_EQ(cache.thumbnailSource(big), browser::CacheLocation(root).cachePath(big));
  EXPECT_FALSE(fs::exists(browser::CacheLocation(root).cachePath(small)));

  const ProgramResult second = runVistrel({"cache", photos.path().string()});
  EXPECT_NE(second.out.find("0 created, 1 already current"), std::string::npos) << second.out;
}

TEST_F(CacheCommandTest, CleanDeletesTheEntriesOfVanishedSources) {
  ASSERT_EQ(runVistrel({"cache", photos.path().string()}).status, 0);
  const fs::path entry = browser::CacheLocation(root).cachePath(big);
  ASSERT_TRUE(fs::exists(entry));
  fs::remove(big);
  const ProgramResult clean = runVistrel({"cache", "--clean"});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_FALSE(fs::exists(entry));
}

std::string contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(CacheCommandTest, ParallelFillWritesTheSameEntriesAndKeepsGoingPastABadFile) {
  for (int i = 0; i < 5; ++i) writeNoisyPhoto(photos / ("p" + std::to_string(i) + ".jpg"), 600 + 40 * i, 450);
  std::ofstream(photos / "broken.jpg") << std::string(200 * 1024, 'x');
  std::map<std::string, std::string> entries[2];
  for (const int jobs : {1, 3}) {
    fs::remove_all(root);
    const ProgramResult run = runVistrel({"cache", "--jobs", std::to_string(jobs), photos.path().string()});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("6 created, 0 already current, 1 below the minimum size, 1 failed"), std::string::npos)
        << run.out;
    EXPECT_NE(run.err.find("broken.jpg"), std::string::npos) << run.err;
    for (const auto& file : fs::recursive_directory_iterator(root)) {
      if (file.is_regular_file()) entries[jobs > 1][file.path().filename().string()] = contentOf(file.path());
    }
  }
  EXPECT_EQ(entries[0].size(), 6u);
  EXPECT_EQ(entries[0], entries[1]);
}

TEST_F(CacheCommandTest, WrongArgumentsAreUsageErrors) {
  EXPECT_EQ(runVistrel({"cache"}).status, 2);
  EXPECT_EQ(runVistrel({"cache", "--clean", photos.path().string()}).status, 2);
  EXPECT_EQ(runVistrel({"cache", "--fast", photos.path().string()}).status, 2);
  EXPECT_EQ(runVistrel({"cache", "--jobs", "0", photos.path().string()}).status, 2);
  EXPECT_EQ(runVistrel({"cache", photos.path().string(), "--jobs"}).status, 2);
  EXPECT_EQ(runVistrel({"cache", (photos / "none").string()}).status, 1);
}

}  // namespace
}  // namespace vistrel::test
