#include "browser/view_geometry.h"

#include <gtest/gtest.h>

#include "browser/picture_texts.h"
#include "support/temp_folder.h"

namespace vistrel::browser {
namespace {

using options::FullScreenSize;

struct ScaleCase {
  FullScreenSize mode;
  int currentScale;
  Size picture, viewer;
  int scale;
};

TEST(ViewGeometry, FullScreenScaleFollowsTheSizeMode) {
  const ScaleCase cases[] = {
      {FullScreenSize::ShrinkToFit, 0, {640, 480}, {1024, 768}, 100},
      {FullScreenSize::ShrinkToFit, 40, {1600, 1200}, {1024, 768}, 0},
      {FullScreenSize::ShrinkToFit, 0, {1024, 500}, {1024, 768}, 0},  // as wide as the screen: fitted
      // Only one side fits: full size would cut off the other, so it is fitted.
      {FullScreenSize::ShrinkToFit, 0, {1800, 1200}, {1920, 1080}, 0},
      {FullScreenSize::ShrinkToFit, 0, {900, 1200}, {1920, 1080}, 0},
      {FullScreenSize::FullSize, 0, {3000, 2000}, {1024, 768}, 100},
      {FullScreenSize::StretchToFit, 30, {640, 480}, {1024, 768}, 30},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(FullScreenScale(c.mode, c.currentScale, c.picture, c.viewer), c.scale)
        << c.picture.width << " x " << c.picture.height;
  }
  EXPECT_EQ(ShrinkToFitScale({640, 480}, {800, 600}), 100);  // the preview does not blow small pictures up
  EXPECT_EQ(ShrinkToFitScale({1600, 1200}, {800, 600}), 0);
}

TEST(ViewGeometry, FittedWallpaperFitsTheLongerSide) {
  EXPECT_EQ(FittedWallpaperSize(3000, 2000, 1280, 1024), (Size{1280, 853}));
  EXPECT_EQ(FittedWallpaperSize(2000, 3000, 1280, 1024), (Size{683, 1024}));
  EXPECT_EQ(FittedWallpaperSize(800, 600, 1280, 1024), (Size{800, 600}));
  EXPECT_EQ(FittedWallpaperSize(1000, 1000, 1280, 1024), (Size{1000, 1000}));
  EXPECT_EQ(FittedWallpaperSize(1280, 5, 1280, 1024), (Size{1280, 5}));  // as wide as the screen
  EXPECT_EQ(FittedWallpaperSize(0, 10, 1280, 1024), (Size{}));
}

TEST(ViewGeometry, APrintedPageHasItsLinesAndTheFittedPictureInPlace) {
  const PrintLayout page = PrintLayoutFor({2400, 3300}, {4000, 3000});
  EXPECT_EQ(page.printable, (Rect{200, 200, 2200, 3100}));
  EXPECT_EQ(page.title, (Point{200, 10}));
  EXPECT_EQ(page.programLine, (Point{250, 3155}));
  EXPECT_EQ(page.programClip, (Rect{200, 3150, 2200, 3250}));
  EXPECT_EQ(page.picture, (Rect{200, 900, 2200, 2400}));  // 2000 wide, 1500 high, centred

  const PrintLayout tall = PrintLayoutFor({2400, 3300}, {100, 1000});
  EXPECT_EQ(tall.picture, (Rect{1055, 200, 1345, 3100}));  // 290 wide: the height decides
  EXPECT_EQ(PrintLayoutFor({2400, 3300}, {0, 0}).picture, (Rect{}));
}

TEST(PictureTexts, InfoLineAndPrintTitle) {
  test::TempFolder folder;
  const auto file = folder.write("photo.jpg", std::string(5000, 'x'));
  EXPECT_EQ(FullScreenInfoText(file).rfind("File size: 4 KB    File date: ", 0), 0u);
  EXPECT_GT(FullScreenInfoText(file).size(), std::string("File size: 4 KB    File date: ").size());
  EXPECT_EQ(FullScreenInfoText(folder / "gone.jpg"), "File size: 0 KB    File date: ");
  platform::useLocale("en_US");
  EXPECT_EQ(PrintTitle("/photos/a.jpg", {2024, 5, 6, 7, 8, 9}), "/photos/a.jpg printed 5/6/2024 7:08:09 AM");
}

}  // namespace
}  // namespace vistrel::browser
