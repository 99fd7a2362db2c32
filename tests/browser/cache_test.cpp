#include <gtest/gtest.h>

#include <fstream>

#include "browser/cache_location.h"
#include "browser/orphan_clean.h"
#include "browser/thumbnail_geometry.h"
#include "support/temp_folder.h"

namespace vistrel::browser {
namespace {

TEST(CacheLocation, MirrorsTheSourcePathBelowTheRoot) {
  test::TempFolder folder;
  const auto source = folder.write("Photos/a b.jpg", "x");
  CacheLocation withSlash(folder / "cache/");
  CacheLocation withoutSlash(folder / "cache");
  const auto expected = folder / "cache" / source.relative_path();
  EXPECT_EQ(withoutSlash.cachePath(source), expected);
  EXPECT_EQ(withSlash.cachePath(source).lexically_normal(), expected);
  EXPECT_FALSE(withoutSlash.isOnRemovableMedium(source));
}

TEST(ThumbnailGeometry, CachePicturesAre200OnTheLongSide) {
  EXPECT_EQ(cachePictureSize(1600, 1200), (Size{200, 150}));
  EXPECT_EQ(cachePictureSize(1200, 1600), (Size{150, 200}));
  EXPECT_EQ(cachePictureSize(1000, 1000), (Size{200, 200}));
  EXPECT_EQ(cachePictureSize(400, 3), (Size{200, 2}));  // 1.5 rounds to even: 2
  EXPECT_EQ(cachePictureSize(400, 5), (Size{200, 2}));  // 2.5 rounds to even: 2
  // 0.5 would round to 0 rows, which cannot be encoded; the strip keeps one.
  EXPECT_EQ(cachePictureSize(400, 1), (Size{200, 1}));
  EXPECT_EQ(cachePictureSize(1, 1000), (Size{1, 200}));
  EXPECT_EQ(cachePictureSize(80, 400), (Size{40, 200}));
}

TEST(ThumbnailGeometry, FitRectanglesUseTheRightEdgeAsScale) {
  EXPECT_EQ(thumbnailFitRect(400, 200, 80), (Rect{3, 20, 77, 58}));
  EXPECT_EQ(thumbnailFitRect(200, 400, 80), (Rect{20, 3, 58, 77}));
  EXPECT_EQ(thumbnailFitRect(300, 300, 80), (Rect{3, 3, 77, 77}));
}

TEST(OrphanClean, DeletesEntriesOfVanishedSourcesOnly) {
  test::TempFolder folder;
  const auto kept = folder.write("photos/kept.jpg", "source");
  const auto root = folder / "cache";
  CacheLocation location(root);
  const auto keptEntry = location.cachePath(kept);
  const auto goneEntry = location.cachePath(folder / "photos/gone.jpg");
  const auto goneFolderEntry = location.cachePath(folder / "vanished/deep/x.jpg");
  for (const auto& entry : {keptEntry, goneEntry, goneFolderEntry}) {
    std::filesystem::create_directories(entry.parent_path());
    std::ofstream(entry) << "jpeg";
  }
  // Entries of a card that is not inserted must survive.
  std::filesystem::create_directories(root / "3A1F-0C22/DCIM");
  std::ofstream(root / "3A1F-0C22/DCIM/cd.id");
  std::ofstream(root / "3A1F-0C22/DCIM/IMG_0001.JPG") << "jpeg";

  const std::atomic<bool> stop{false};
  const CleanResult result = cleanOrphans(root, stop);
  EXPECT_EQ(result.filesDeleted, 2);
  EXPECT_TRUE(std::filesystem::exists(keptEntry));
  EXPECT_FALSE(std::filesystem::exists(goneEntry));
  EXPECT_FALSE(std::filesystem::exists(goneFolderEntry));
  EXPECT_FALSE(std::filesystem::exists(goneFolderEntry.parent_path()));  // emptied, so removed
  EXPECT_TRUE(std::filesystem::exists(root / "3A1F-0C22/DCIM/IMG_0001.JPG"));
}

}  // namespace
}  // namespace vistrel::browser
