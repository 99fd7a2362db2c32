#include "ftp/source_folder.h"

#include <gtest/gtest.h>

#include "ftp/ftp_options.h"
#include "support/temp_folder.h"

namespace vistrel::ftp {
namespace {

TEST(SourceFolderTest, CountsTheFilesDirectlyInTheFolder) {
  test::TempFolder folder;
  folder.write("a.jpg", std::string(1000, 'a'));
  folder.write("b.jpg", std::string(2000, 'b'));
  folder.write("c.html", std::string(3000, 'c'));
  folder.write("sub/d.jpg", std::string(5000, 'd'));
  const SourceSummary summary = summarizeSource(folder.path());
  EXPECT_TRUE(summary.valid);
  EXPECT_EQ(summary.filesText, "Source folder contains: 3 files");
  EXPECT_EQ(summary.sizeText, "Total file size is:  6 KB");  // (6000 + 1024) div 1024
}

TEST(SourceFolderTest, AMissingFolderIsInvalid) {
  test::TempFolder folder;
  for (const auto& path : {folder / "missing", folder.write("file", "x"), std::filesystem::path()}) {
    const SourceSummary summary = summarizeSource(path);
    EXPECT_FALSE(summary.valid);
    EXPECT_EQ(summary.filesText, "Invalid source folder");
    EXPECT_EQ(summary.sizeText, "");
  }
}

TEST(SourceFolderTest, UploadTakesTheGallerysSubfoldersButNoHiddenOrForeignFiles) {
  test::TempFolder folder;
  folder.write("b.jpg", "b");
  folder.write("a.jpg", "a");
  folder.write(".htaccess", "hidden");
  folder.write("sub/c.jpg", "c");
  EXPECT_EQ(uploadFiles(folder.path()), (std::vector<UploadFile>{{folder / "a.jpg", "a.jpg"}, {folder / "b.jpg", "b.jpg"}}));
  // A gallery's manifest names its folders; other folders stay at home.
  folder.write("thumbnails/t.jpg", "t");
  folder.write("thumbnails/.hidden", "h");
  folder.write(".vistrel-outputs", "# made here\nthumbnails/t.jpg\nmissing/x.jpg\n.hidden/y.jpg\n");
  EXPECT_EQ(uploadFiles(folder.path()), (std::vector<UploadFile>{{folder / "a.jpg", "a.jpg"},
                                                                 {folder / "b.jpg", "b.jpg"},
                                                                 {folder / "thumbnails/t.jpg", "thumbnails/t.jpg"}}));
}

TEST(FtpOptionsTest, ReadingStopsAtTheFirstMissingValueAndKeepsTheRestDefault) {
  test::TempFolder folder;
  platform::SettingsStore store(folder / "settings.reg");
  auto key = store.openKey(platform::kProgramKey, true);
  key->writeInteger("FtpTimeout", 99);  // clamped to the spin's range
  key->writeBool("FtpUseProxy", true);
  key->writeBool("FtpLargeIcons", true);  // after the gap: not read
  const FtpOptions options = readFtpOptions(store);
  EXPECT_EQ(options.timeoutSeconds, 60);
  EXPECT_TRUE(options.useProxy);
  EXPECT_FALSE(options.largeIcons);
  EXPECT_TRUE(options.passiveMode);
  EXPECT_TRUE(options.promptOverwrite);
}

TEST(FtpOptionsTest, WrittenOptionsReadBack) {
  test::TempFolder folder;
  FtpOptions options;
  options.timeoutSeconds = 7;
  options.useProxy = true;
  options.proxy = "proxy.example";
  options.proxyPort = 3128;
  options.logHeight = 80;
  options.largeIcons = true;
  options.autoClose = true;
  options.passiveMode = false;
  options.promptOverwrite = false;
  {
    platform::SettingsStore store(folder / "settings.reg");
    writeFtpOptions(store, options);
  }
  platform::SettingsStore store(folder / "settings.reg");
  const FtpOptions read = readFtpOptions(store);
  EXPECT_EQ(read.timeoutSeconds, 7);
  EXPECT_EQ(read.proxy, "proxy.example");
  EXPECT_EQ(read.proxyPort, 3128);
  EXPECT_EQ(read.logHeight, 80);
  EXPECT_TRUE(read.largeIcons && read.autoClose && read.useProxy);
  EXPECT_FALSE(read.passiveMode || read.promptOverwrite);
}

}  // namespace
}  // namespace vistrel::ftp
