#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "browser/cache_folder.h"
#include "browser/cache_location.h"
#include "browser/cache_usage.h"
#include "browser/orphan_clean.h"
#include "browser/thumbnail_cache.h"
#include "browser/thumbnail_geometry.h"
#include "imaging/jpeg_encoder.h"
#include "platform/error.h"
#include "platform/files.h"
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

namespace fs = std::filesystem;

// A picture as the cache writes them: a JPEG 200 pixels on its longer side.
fs::path writeCachePicture(const fs::path& file, int width = 200, int height = 150) {
  fs::create_directories(file.parent_path());
  imaging::SaveBitmapAsJpeg(file, imaging::TBitmap(width, height), 80, false);
  return file;
}

// Every file below the folder with its content.
std::map<fs::path, std::string> snapshot(const fs::path& folder) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path()] = platform::readFile(entry.path());
  }
  return files;
}

TEST(CacheFolder, AFolderOfTheUsersSurvivesEveryCacheCommand) {
  test::TempFolder folder;
  const fs::path root = folder / "Pictures";
  // Even files that look like cache pictures, where the cache would put them.
  CacheLocation location(root);
  writeCachePicture(location.cachePath(folder / "gone/x.jpg"));
  folder.write("Pictures/holiday/notes.txt", "mine");
  const auto before = snapshot(root);
  const auto source = writeCachePicture(folder / "photos/big.jpg", 800, 600);

  const std::atomic<bool> stop{false};
  EXPECT_THROW(cleanOrphans(root, stop), Error);
  EXPECT_THROW(cacheEntries(root), Error);
  ThumbnailCache cache({.root = root, .minFileSizeKB = 0});
  EXPECT_THROW(cache.thumbnailSource(source), Error);
  EXPECT_THROW(cache.renew(folder / "gone/x.jpg"), Error);  // whose entry path holds one of them
  const auto refusal = [&]() -> std::string {
    try {
      refuseForeignFolder(root);
    } catch (const Error& error) {
      return error.what();
    }
    return "";
  };
  EXPECT_NE(refusal().find("none of them is deleted"), std::string::npos);
  EXPECT_EQ(snapshot(root), before);
  EXPECT_FALSE(isOurCacheFolder(root));
}

TEST(CacheFolder, ANewOrEmptyFolderBecomesTheCachesAndTheDefaultOneIsAdopted) {
  test::TempFolder folder;
  claimCacheFolder(folder / "new/cache");
  EXPECT_TRUE(isOurCacheFolder(folder / "new/cache"));
  fs::create_directories(folder / "empty");
  claimCacheFolder(folder / "empty");
  EXPECT_TRUE(isOurCacheFolder(folder / "empty"));
  // Another program's tag does not make the folder ours.
  folder.write("other/CACHEDIR.TAG", "Signature: 8a477f597d28d172789f06886806bc55\n# someone else\n");
  EXPECT_FALSE(isOurCacheFolder(folder / "other"));
  EXPECT_THROW(claimCacheFolder(folder / "other"), Error);

  const fs::path old = writeCachePicture(folder / "data/cache/home/a.jpg").parent_path().parent_path();
  adoptCacheFolder(old);
  EXPECT_TRUE(isOurCacheFolder(old));
  EXPECT_NO_THROW(refuseForeignFolder(folder / "missing"));
}

TEST(OrphanClean, DeletesOnlyTheCachesOwnPicturesOfVanishedSources) {
  test::TempFolder folder;
  const auto kept = folder.write("photos/kept.jpg", "source");
  const auto root = folder / "cache";
  claimCacheFolder(root);
  CacheLocation location(root);
  const auto keptEntry = writeCachePicture(location.cachePath(kept));
  const auto goneEntry = writeCachePicture(location.cachePath(folder / "photos/gone.jpg"));
  const auto goneFolderEntry = writeCachePicture(location.cachePath(folder / "vanished/deep/x.tif"), 150, 200);
  // Files of vanished sources that the cache never writes.
  const auto text = folder.write("cache/notes.txt", "mine");
  const auto bigPhoto = writeCachePicture(location.cachePath(folder / "photos/print.jpg"), 1600, 1200);
  fs::create_symlink(goneEntry, location.cachePath(folder / "photos/link.jpg"));
  // Entries of a card that is not inserted must survive.
  fs::create_directories(root / "3A1F-0C22/DCIM");
  std::ofstream(root / "3A1F-0C22/DCIM/cd.id");
  const auto offline = writeCachePicture(root / "3A1F-0C22/DCIM/IMG_0001.JPG");

  const std::atomic<bool> stop{false};
  const CleanResult result = cleanOrphans(root, stop);
  EXPECT_EQ(result.filesDeleted, 2);
  for (const auto& file : {keptEntry, text, bigPhoto, offline, root / kCacheMarker}) EXPECT_TRUE(fs::exists(file)) << file;
  EXPECT_TRUE(fs::is_symlink(location.cachePath(folder / "photos/link.jpg")));
  EXPECT_FALSE(fs::exists(goneEntry));
  EXPECT_FALSE(fs::exists(goneFolderEntry));
  EXPECT_FALSE(fs::exists(goneFolderEntry.parent_path()));  // emptied, so removed
}

TEST(DeleteCache, CountsAndTrashesOnlyWhatTheCacheWrote) {
  test::TempFolder folder;
  ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  const auto root = folder / "cache";
  claimCacheFolder(root);
  const auto a = writeCachePicture(root / "home/ann/a.jpg");
  const auto b = writeCachePicture(root / "home/ann/sub/b.png", 100, 200);
  const auto mine = folder.write("cache/home/ann/mine.jpg", "not a picture");
  const CacheEntries entries = cacheEntries(root);
  EXPECT_EQ(entries.files.size(), 2u);
  EXPECT_EQ(entries.bytes, fs::file_size(a) + fs::file_size(b));
  trashCacheEntries(root, entries);
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_FALSE(fs::exists(a));
  EXPECT_FALSE(fs::exists(root / "home/ann/sub"));  // emptied
  EXPECT_TRUE(fs::exists(mine));
  EXPECT_TRUE(isOurCacheFolder(root));
  EXPECT_TRUE(fs::exists(folder / "data/Trash/files/b.png"));
}

}  // namespace
}  // namespace vistrel::browser
