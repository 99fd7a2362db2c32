#include "browser/file_commands.h"

#include <gtest/gtest.h>

#include "browser/cache_usage.h"
#include "metadata/descriptions.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::browser {
namespace {

namespace fs = std::filesystem;

TEST(RenameListedFile, CarriesTheDescriptionAndDropsTheOldLine) {
  test::TempFolder folder;
  const fs::path photo = folder.write("a.jpg", "picture");
  metadata::SetDescription(photo, "Harbour at dawn");
  metadata::SetDescription(folder.write("b.jpg", "other"), "Boats");

  const fs::path renamed = renameListedFile(photo, "harbour.jpg");

  EXPECT_EQ(renamed, folder / "harbour.jpg");
  EXPECT_FALSE(fs::exists(photo));
  EXPECT_EQ(metadata::DescriptionOf(renamed), "Harbour at dawn");
  EXPECT_EQ(metadata::DescriptionOf(folder / "b.jpg"), "Boats");
  EXPECT_EQ(platform::readFile(folder / metadata::kDescriptionFileName).find("a.jpg"), std::string::npos);
}

TEST(RenameListedFile, NeverReplacesAnotherFileAndLeavesEverythingAsItWas) {
  test::TempFolder folder;
  const fs::path photo = folder.write("a.jpg", "picture");
  folder.write("b.jpg", "keep me");
  metadata::SetDescription(photo, "Harbour");

  const std::pair<const char*, const char*> refusals[] = {
      {"b.jpg", "a file named \"b.jpg\" already exists"},
      {"", "Cannot rename file: Access is denied."},
      {"sub/c.jpg", "cannot hold \"/\""},
  };
  for (const auto& [name, reason] : refusals) {
    try {
      renameListedFile(photo, name);
      ADD_FAILURE() << "renamed to " << name;
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(platform::readFile(folder / "b.jpg"), "keep me");
  EXPECT_EQ(platform::readFile(photo), "picture");
  EXPECT_EQ(metadata::DescriptionOf(photo), "Harbour");
}

TEST(WipeFile, OverwritesTheContentsBeforeDeleting) {
  test::TempFolder folder;
  const std::string secret(200000, 's');
  const fs::path file = folder.write("secret.jpg", secret);
  // A second name for the same data shows what the wipe left on the disk.
  fs::create_hard_link(file, folder / "witness");

  wipeFile(file);

  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(platform::readFile(folder / "witness"), std::string(secret.size(), 'x'));
}

TEST(WipeFile, AMissingFileIsReportedWithItsPath) {
  test::TempFolder folder;
  try {
    wipeFile(folder / "gone.jpg");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to delete " + (folder / "gone.jpg").string());
  }
}

TEST(NamesForQuestion, NamesTheFirstFilesAndCountsTheRest) {
  EXPECT_EQ(namesForQuestion({"/p/a.jpg"}), "a.jpg");
  EXPECT_EQ(namesForQuestion({"/p/a.jpg", "/p/b & c.jpg", "/q/d.jpg"}, 2), "a.jpg\r\nb & c.jpg\r\n... and 1 more");
}

TEST(CacheSettingsOf, TakesTheCacheOptionsAndKeepsTheFilterInRange) {
  options::ProgramOptions options;
  options.cacheFolder = "/tmp/c";
  options.cacheMinFileSize = 7;
  options.cacheQuality = 55;
  options.cacheSharpen = true;
  options.cacheResampleFilter = 5;
  CacheSettings settings = cacheSettingsOf(options);
  EXPECT_EQ(settings.root, "/tmp/c");
  EXPECT_EQ(settings.minFileSizeKB, 7);
  EXPECT_EQ(settings.quality, 55);
  EXPECT_TRUE(settings.sharpen);
  EXPECT_EQ(settings.filter, imaging::ResampleFilter::Lanczos3);
  options.cacheResampleFilter = 42;  // a damaged settings file
  EXPECT_EQ(cacheSettingsOf(options).filter, imaging::ResampleFilter::Mitchell);
}

TEST(CacheUsage, CountsFilesFoldersAndBytesBelowTheRoot) {
  test::TempFolder folder;
  folder.write("cache/home/a.jpg", std::string(1000, 'a'));
  folder.write("cache/home/sub/b.jpg", std::string(24, 'b'));
  const CacheUsage usage = cacheUsage(folder / "cache");
  EXPECT_EQ(usage.files, 2u);
  EXPECT_EQ(usage.folders, 2u);
  EXPECT_EQ(usage.bytes, 1024u);
  EXPECT_EQ(cacheUsage(folder / "none").files, 0u);
  const std::atomic<bool> stopped{true};
  EXPECT_EQ(cacheUsage(folder / "cache", &stopped).files, 0u);
}

}  // namespace
}  // namespace vistrel::browser
