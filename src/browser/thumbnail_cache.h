#pragma once

#include <filesystem>

#include "browser/cache_location.h"
#include "imaging/bitmap_filters.h"

namespace vistrel::browser {

struct CacheSettings {
  std::filesystem::path root;
  int minFileSizeKB = 100;  // smaller sources are drawn directly and never cached
  imaging::ResampleFilter filter = imaging::ResampleFilter::Triangle;
  int quality = 80;
  bool sharpen = false;
};

// The disk cache of small copies the thumbnail view draws from. An entry is
// a baseline JPEG of at most 200 pixels a side, stored under the source's own
// name (whatever its format), whose last-write time is the source's: equal
// times mean the entry is current. Times compare at the two-second resolution
// of the DOS form in local time, as the entries have always been stamped.
class ThumbnailCache {
 public:
  explicit ThumbnailCache(CacheSettings settings);

  const CacheSettings& settings() const { return settings_; }
  std::filesystem::path cachePath(const std::filesystem::path& source) { return location_.cachePath(source); }

  // The file a list thumbnail is to be drawn from: the source itself when it
  // is below the minimum size, else its cache entry, made or renewed first when
  // needed. Empty when the source cannot be decoded. Throws Error when the
  // entry cannot be written.
  std::filesystem::path thumbnailSource(const std::filesystem::path& source);
  bool isCurrent(const std::filesystem::path& source);
  bool isBelowMinimum(const std::filesystem::path& source) const;
  // Deletes the entry, then makes it again ("Update thumbnail(s)").
  std::filesystem::path renew(const std::filesystem::path& source);
  // Deletes the entry, for a source changed in a way its time stamp does not
  // tell (a rotation that keeps the time): the next need makes it anew.
  void forget(const std::filesystem::path& source);

  // Filling many entries at once splits the work: prepareEntry() on one
  // thread, because the location remembers the volumes it has seen, then
  // writeEntry() for different sources on as many threads as wanted.
  // prepareEntry() returns the entry path with its folder made.
  std::filesystem::path prepareEntry(const std::filesystem::path& source);
  // Decodes, scales and saves the entry; false when the source holds no
  // picture. Throws Error when the entry cannot be written.
  bool writeEntry(const std::filesystem::path& source, const std::filesystem::path& entry) const;

 private:

  CacheSettings settings_;
  CacheLocation location_;
};

}  // namespace vistrel::browser
