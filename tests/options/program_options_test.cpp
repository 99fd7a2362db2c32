#include "options/program_options.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::options {
namespace {

using platform::SettingsStore;

class ProgramOptionsTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::filesystem::path settingsFile = folder / "settings.reg";
  std::filesystem::path book = addressFile(folder.path());
  ProgramOptions defaults = ProgramOptions::defaults(folder.path());

  // Every value changed from its default, so that a round trip proves each one.
  static ProgramOptions changed(const ProgramOptions& from) {
    ProgramOptions o = from;
    o.replaceJpegRot = o.changeTimeStamp = o.confirmDelete = o.fixFilenames = o.trimEdges = o.resetOrientation = false;
    o.replaceExisting = o.hideSlideShowInfo = o.hideCursor = o.hiddenFiles = true;
    o.fullScreenInfo = o.fullScreenDesc = o.includeEncrypted = o.colEncrypted = o.rawExif = true;
    o.previewGrayBack = o.useCache = o.autoClean = false;
    o.cacheSharpen = true;
    o.slideshowDelay = 17;
    o.fullScrSize = FullScreenSize::FullSize;
    o.imgBackCol = rgb(1, 2, 3);
    o.imageColor = rgb(4, 5, 6);
    o.fileListCol = rgb(7, 8, 9);
    o.descriptionCol = rgb(10, 11, 12);
    o.cacheResampleFilter = 5;
    o.cacheQuality = 60;
    o.cacheMinFileSize = 251;
    o.cacheFolder = "/elsewhere/cache";
    o.smtpServer = "mail.test";
    o.smtpPort = 587;
    o.smtpLoginName = "login";
    o.smtpRealName = "Åsa Öberg";
    o.smtpReturnAddress = "asa@test";
    o.smtpSignature = "-- \r\nÅsa";
    o.addresses = {"b@test", "a@test", "a@test"};
    return o;
  }
};

TEST_F(ProgramOptionsTest, NoSettingsKeyKeepsEveryDefault) {
  SettingsStore store(settingsFile);
  ProgramOptions read = defaults;
  readProgramOptions(store, book, read);
  EXPECT_EQ(read, defaults);
  EXPECT_EQ(defaults.cacheFolder, folder.path() / "cache");
  EXPECT_EQ(defaults.imageColor, rgb(0, 0, 128));
}

TEST_F(ProgramOptionsTest, EveryValueAndTheAddressBookSurviveAStoreAndAReload) {
  const ProgramOptions written = changed(defaults);
  {
    SettingsStore store(settingsFile);
    writeProgramOptions(store, book, written);
  }
  EXPECT_EQ(platform::readFile(book), "b@test\r\na@test\r\na@test\r\n");
  SettingsStore store(settingsFile);
  ProgramOptions read = defaults;
  readProgramOptions(store, book, read);
  EXPECT_EQ(read, written);
}

TEST_F(ProgramOptionsTest, ReadingStopsAtTheFirstMissingOrMistypedValue) {
  const ProgramOptions written = changed(defaults);
  SettingsStore store(settingsFile);
  writeProgramOptions(store, book, written);

  // "SlideshowDelay" comes after "DescriptionCol" and before "FixFilenames".
  store.openKey(platform::kProgramKey, false)->writeString("SlideshowDelay", "seven");
  ProgramOptions read = defaults;
  readProgramOptions(store, book, read);
  EXPECT_EQ(read.descriptionCol, written.descriptionCol);
  EXPECT_EQ(read.slideshowDelay, defaults.slideshowDelay);
  EXPECT_EQ(read.fixFilenames, defaults.fixFilenames);
  EXPECT_EQ(read.cacheFolder, defaults.cacheFolder);

  store.openKey(platform::kProgramKey, false)->deleteValue("SlideshowDelay");
  read = defaults;
  readProgramOptions(store, book, read);
  EXPECT_EQ(read.slideshowDelay, defaults.slideshowDelay);
  EXPECT_EQ(read.fixFilenames, defaults.fixFilenames);
}

TEST_F(ProgramOptionsTest, AMissingAddressFileLeavesTheCacheValuesAtTheirDefaults) {
  const ProgramOptions written = changed(defaults);
  SettingsStore store(settingsFile);
  writeProgramOptions(store, book, written);
  std::filesystem::remove(book);
  ProgramOptions read = defaults;
  readProgramOptions(store, book, read);
  EXPECT_EQ(read.smtpSignature, written.smtpSignature);
  EXPECT_EQ(read.addresses, defaults.addresses);
  EXPECT_EQ(read.useCache, defaults.useCache);
  EXPECT_EQ(read.cacheQuality, defaults.cacheQuality);
  EXPECT_EQ(read.cacheFolder, defaults.cacheFolder);
}

TEST_F(ProgramOptionsTest, OutOfRangeNumbersAreBroughtIntoTheirRange) {
  SettingsStore store(settingsFile);
  writeProgramOptions(store, book, defaults);
  auto key = *store.openKey(platform::kProgramKey, false);
  key.writeInteger("SlideshowDelay", -1);
  key.writeInteger("FullScrSize", 9);
  key.writeInteger("CacheQuality", 0);
  key.writeInteger("CacheResampleFilter", 40);
  key.writeInteger("CacheMinFileSize", 1 << 30);
  ProgramOptions read = defaults;
  readProgramOptions(store, book, read);
  EXPECT_EQ(read.slideshowDelay, 1);
  EXPECT_EQ(read.fullScrSize, FullScreenSize::FullSize);
  EXPECT_EQ(read.cacheQuality, 10);
  EXPECT_EQ(read.cacheResampleFilter, 6);
  EXPECT_EQ(read.cacheMinFileSize, 4096);
}

TEST_F(ProgramOptionsTest, AnAddressFileWithBareLineFeedsAndBlankLinesReads) {
  SettingsStore store(settingsFile);
  writeProgramOptions(store, book, defaults);
  platform::writeFileAtomically(book, "x@test\n\ny@test\r\nJos\xE9 <z@test>");  // Latin-1 of an older version
  ProgramOptions read = defaults;
  readProgramOptions(store, book, read);
  EXPECT_EQ(read.addresses, (std::vector<std::string>{"x@test", "y@test", "Jos\u00e9 <z@test>"}));
}

}  // namespace
}  // namespace vistrel::options
