#include <gtest/gtest.h>

#include "gallery/gallery_store.h"
#include "gallery/run_options.h"
#include "options/program_options.h"
#include "platform/program_data.h"
#include "support/temp_folder.h"

namespace vistrel::gallery {
namespace {

using platform::SettingsStore;

struct GalleryStoreTest : ::testing::Test {
  test::TempFolder folder;
  SettingsStore store{folder / "settings.reg"};
  platform::SettingsKey key() { return *store.openKey(platform::kProgramKey, true); }
};

TEST_F(GalleryStoreTest, WritesInItsOwnOrderAndNames) {
  GallerySettings s = GallerySettings::defaults();
  s.Separator = " | ";
  writeGalleryStore(store, s);
  const auto names = key().valueNames();
  ASSERT_EQ(names.size(), 83u);
  EXPECT_EQ(names[3], "Caption");
  EXPECT_EQ(names[30], "InclLink");
  EXPECT_EQ(names.back(), "BothNav");
  EXPECT_EQ(key().readInteger("Separator"), 4);
  EXPECT_FALSE(key().valueExists("BorderColor"));
  EXPECT_FALSE(key().valueExists("CopyExif"));
}

TEST_F(GalleryStoreTest, RoundTripKeepsChoicesAndForgetsAHandTypedSeparator) {
  GallerySettings s = GallerySettings::defaults();
  s.linkMode = LinkMode::InclLink;
  s.textPosition = TextPosition::TextLeft;
  s.HeadText = "a\r\nb";
  s.Separator = " ~ ";
  s.OverlayFont = "Serif";
  writeGalleryStore(store, s);
  GallerySettings back;
  readGalleryStore(store, back);
  EXPECT_EQ(back.linkMode, LinkMode::InclLink);
  EXPECT_EQ(back.textPosition, TextPosition::TextLeft);
  EXPECT_EQ(back.HeadText, "a\r\nb");
  EXPECT_EQ(back.Separator, "");
  EXPECT_EQ(back.OverlayFont, "Tahoma");
  EXPECT_EQ(back.TargetFolder, s.TargetFolder);
}

TEST_F(GalleryStoreTest, StopsAtTheFirstMissingNumberAndResetsTheLinkTexts) {
  GallerySettings s = GallerySettings::defaults();
  s.Cols = 6;
  s.ThumbPrefix = "t_";
  s.NextIndexPage = "Onwards";
  writeGalleryStore(store, s);
  key().deleteValue("JpegCompLevel");
  GallerySettings back;
  back.ThumbPrefix = "untouched";
  readGalleryStore(store, back);
  EXPECT_EQ(back.Cols, 6);            // read before the gap
  EXPECT_EQ(back.ThumbPrefix, "untouched");  // after it
  EXPECT_EQ(back.NextIndexPage, "Next");
  EXPECT_EQ(back.BackToIndex, "Index page");
}

TEST_F(GalleryStoreTest, MissingTextsReadEmptyExceptLinkTexts) {
  writeGalleryStore(store, GallerySettings::defaults());
  key().deleteValue("Caption");
  key().deleteValue("FirstPage");
  GallerySettings back;
  back.FirstPage = "Start";
  readGalleryStore(store, back);
  EXPECT_EQ(back.TitleText, "");
  EXPECT_EQ(back.FirstPage, "Start");
}

TEST_F(GalleryStoreTest, NoKeyChangesNothing) {
  GallerySettings back;
  back.Cols = 9;
  readGalleryStore(store, back);
  EXPECT_EQ(back.Cols, 9);
  EXPECT_EQ(back.BackToIndex, "Back to thumbnail index page");
  const RunOptions options = readRunOptions(store, platform::programDataFolder());
  EXPECT_FALSE(options.cbReplaceExisting);
  EXPECT_TRUE(options.cbFixFilenames);
}

TEST_F(GalleryStoreTest, RunOptionsAreTheOnesTheOptionsDialogStored) {
  test::IsolatedUser user;
  platform::ensureProgramData();
  auto stored = options::ProgramOptions::defaults(platform::programDataFolder());
  stored.replaceExisting = true;
  stored.fixFilenames = false;
  options::writeProgramOptions(store, options::addressFile(platform::programDataFolder()), stored);
  const RunOptions options = readRunOptions(store, platform::programDataFolder());
  EXPECT_TRUE(options.cbReplaceExisting);
  EXPECT_FALSE(options.cbFixFilenames);
}

}  // namespace
}  // namespace vistrel::gallery
