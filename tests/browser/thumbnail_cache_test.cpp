#include "browser/thumbnail_cache.h"

#include <gtest/gtest.h>

#include <random>

#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::browser {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Noise compresses badly, so even a small photo passes the 100 KB minimum.
void writeNoisePhoto(const fs::path& file, int width, int height) {
  imaging::TBitmap bitmap(width, height);
  std::mt19937 random(1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width * 3; ++x) bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(random());
  }
  imaging::SaveBitmapAsJpeg(file, bitmap, 95, false);
}

class ThumbnailCacheTest : public ::testing::Test {
 protected:
  ThumbnailCacheTest() : cache_({.root = folder_ / "cache"}) {
    platform::createFolders(folder_ / "photos");
    writeNoisePhoto(photo_, 1600, 1200);
  }
  test::TempFolder folder_;
  fs::path photo_ = folder_ / "photos/big.jpg";
  ThumbnailCache cache_;
};

TEST_F(ThumbnailCacheTest, MakesA200PixelEntryStampedWithTheSourceTime) {
  const fs::path entry = cache_.thumbnailSource(photo_);
  ASSERT_EQ(entry, cache_.cachePath(photo_));
  const auto header = imaging::ReadImageHeader(entry);
  EXPECT_EQ(header.width, 200);
  EXPECT_EQ(header.height, 150);
  EXPECT_EQ(platform::lastWriteTime(entry), platform::roundTripDos(platform::lastWriteTime(photo_)));
}

TEST_F(ThumbnailCacheTest, ACurrentEntryIsUsedAsItIsAndATouchedSourceRenewsIt) {
  const fs::path entry = cache_.thumbnailSource(photo_);
  const auto stamp = platform::lastWriteTime(entry);
  platform::writeFileAtomically(entry, "not decoded again");
  platform::setLastWriteTime(entry, stamp);
  EXPECT_EQ(cache_.thumbnailSource(photo_), entry);
  EXPECT_EQ(platform::readFile(entry), "not decoded again");

  const auto original = platform::lastWriteTime(photo_);
  platform::setLastWriteTime(photo_, original + 10s);
  EXPECT_EQ(cache_.thumbnailSource(photo_), entry);
  EXPECT_EQ(imaging::ReadImageHeader(entry).width, 200);

  // Giving the source its old time back makes an entry of that time valid again.
  platform::setLastWriteTime(photo_, original);
  platform::setLastWriteTime(entry, platform::roundTripDos(original));
  EXPECT_TRUE(cache_.isCurrent(photo_));
}

TEST_F(ThumbnailCacheTest, SmallSourcesAreDrawnDirectly) {
  const fs::path small = folder_ / "photos/small.jpg";
  writeNoisePhoto(small, 64, 48);
  EXPECT_EQ(cache_.thumbnailSource(small), small);
  EXPECT_FALSE(fs::exists(cache_.cachePath(small)));
}

TEST_F(ThumbnailCacheTest, SourcesThatAreNoPictureGiveNoEntry) {
  const fs::path broken = folder_.write("photos/broken.jpg", std::string(200 * 1024, 'x'));
  EXPECT_TRUE(cache_.thumbnailSource(broken).empty());
  EXPECT_FALSE(fs::exists(cache_.cachePath(broken)));
}

TEST_F(ThumbnailCacheTest, RenewMakesTheEntryAgain) {
  const fs::path entry = cache_.thumbnailSource(photo_);
  platform::writeFileAtomically(entry, "stale");
  platform::setLastWriteTime(entry, platform::roundTripDos(platform::lastWriteTime(photo_)));
  EXPECT_EQ(cache_.renew(photo_), entry);
  EXPECT_EQ(imaging::ReadImageHeader(entry).height, 150);
}

}  // namespace
}  // namespace vistrel::browser
