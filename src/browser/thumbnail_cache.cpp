#include "browser/thumbnail_cache.h"

#include <fstream>

#include "browser/thumbnail_geometry.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "platform/dates.h"
#include "platform/files.h"

namespace vistrel::browser {
namespace {

namespace fs = std::filesystem;

// The decoder's 1/8 reduction: a cache picture never needs more.
constexpr int kCacheReduction = 3;

platform::SystemTime stampOf(const fs::path& file) { return platform::roundTripDos(platform::lastWriteTime(file)); }

}  // namespace

ThumbnailCache::ThumbnailCache(CacheSettings settings)
    : settings_(std::move(settings)), location_(settings_.root) {}

bool ThumbnailCache::isBelowMinimum(const fs::path& source) const {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(source, ec);
  return (ec ? 0 : size >> 10) < static_cast<std::uintmax_t>(std::max(settings_.minFileSizeKB, 0));
}

bool ThumbnailCache::isCurrent(const fs::path& source) {
  const fs::path entry = cachePath(source);
  std::error_code ec;
  return fs::exists(entry, ec) && stampOf(entry) == stampOf(source);
}

fs::path ThumbnailCache::thumbnailSource(const fs::path& source) {
  if (isBelowMinimum(source)) return source;
  if (isCurrent(source)) return cachePath(source);
  const fs::path entry = prepareEntry(source);
  return writeEntry(source, entry) ? entry : fs::path();
}

fs::path ThumbnailCache::renew(const fs::path& source) {
  forget(source);
  return thumbnailSource(source);
}

void ThumbnailCache::forget(const fs::path& source) {
  std::error_code ec;
  fs::remove(cachePath(source), ec);
}

fs::path ThumbnailCache::prepareEntry(const fs::path& source) {
  const fs::path entry = cachePath(source);
  std::error_code ec;
  if (!fs::exists(entry.parent_path(), ec)) {
    platform::createFolders(entry.parent_path());
    if (location_.isOnRemovableMedium(source)) std::ofstream(entry.parent_path() / kOfflineMarker);
  }
  return entry;
}

bool ThumbnailCache::writeEntry(const fs::path& source, const fs::path& entry) const {
  const platform::SystemTime sourceTime = platform::lastWriteTime(source);
  const imaging::TBitmap decoded = imaging::LoadImageBitmap(source, kCacheReduction);
  if (decoded.Empty()) return false;
  const Size size = cachePictureSize(decoded.Width(), decoded.Height());
  imaging::TBitmap picture;
  imaging::ResampleFiltered(size.width, size.height, settings_.filter, 0, decoded, picture);
  if (settings_.sharpen) imaging::SharpenBitmap(picture);
  imaging::SaveBitmapAsJpeg(entry, picture, settings_.quality, false);
  platform::setLastWriteTime(entry, platform::roundTripDos(sourceTime));
  return true;
}

}  // namespace vistrel::browser
