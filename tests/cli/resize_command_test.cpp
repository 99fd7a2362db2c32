#include <gtest/gtest.h>

#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/resize_settings.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

void writePicture(const fs::path& file, int width, int height) {
  imaging::TBitmap bitmap(width, height);
  bitmap.Fill(30, 120, 200);
  imaging::SaveBitmapAsJpeg(file, bitmap);
}

imaging::ImageHeader sizeOf(const fs::path& file) { return imaging::ReadImageHeader(file); }

class ResizeCommand : public ::testing::Test {
 protected:
  IsolatedUser user;
  TempFolder photos;
};

TEST_F(ResizeCommand, CopiesTakeTheNewSizeAndFreeNames) {
  writePicture(photos / "wide.jpg", 3000, 2000);
  writePicture(photos / "small.jpg", 200, 100);
  photos.write("convert_wide.jpg", "taken");
  const ProgramResult result = runVistrel({"resize", "--size", "400", "--prefix", "convert_", "--jobs", "2",
                                           (photos / "wide.jpg").string(), (photos / "small.jpg").string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            (photos / "convert_wide_1.jpg").string() + "\n" + (photos / "convert_small.jpg").string() + "\n");
  EXPECT_EQ(sizeOf(photos / "convert_wide_1.jpg").width, 400);
  EXPECT_EQ(sizeOf(photos / "convert_wide_1.jpg").height, 267);
  EXPECT_EQ(sizeOf(photos / "convert_small.jpg").width, 400);
  EXPECT_EQ(sizeOf(photos / "convert_small.jpg").height, 200);
}

TEST_F(ResizeCommand, TheWindowsStoredSettingsAreTheDefaults) {
  writePicture(photos / "tall.jpg", 600, 900);
  {
    platform::SettingsStore store;
    imaging::ResizeSettings stored;
    stored.newSize = 300;
    stored.outputFolder = (photos / "out").string();
    imaging::writeResizeSettings(store, stored);
  }
  const ProgramResult result = runVistrel({"resize", (photos / "tall.jpg").string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, (photos / "out" / "tall.jpg").string() + "\n");
  EXPECT_EQ(sizeOf(photos / "out" / "tall.jpg").height, 300);
}

TEST_F(ResizeCommand, SkippedFilesAreNamedAndMistakesAreUsageErrors) {
  writePicture(photos / "good.jpg", 64, 48);
  const fs::path text = photos.write("notes.png", "not a picture");
  const ProgramResult result =
      runVistrel({"resize", "--out", (photos / "out").string(), text.string(), (photos / "good.jpg").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("vistrel resize: " + text.string() + ": skipped: "), std::string::npos) << result.err;
  EXPECT_EQ(result.out, (photos / "out" / "good.jpg").string() + "\n");

  const std::string good = (photos / "good.jpg").string();
  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"resize", "--prefix", "a_", "--out", "x", good},
        {"resize", "--size", "10", good},
        {"resize", "--filter", "Gauss", "--prefix", "a_", good},
        {"resize", "--prefix", "a_"},
        {"resize", good}}) {
    EXPECT_EQ(runVistrel(wrong).status, 2) << wrong[1];
  }
}

}  // namespace
}  // namespace vistrel::test
