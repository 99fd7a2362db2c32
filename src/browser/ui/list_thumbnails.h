#pragma once

#include <QColor>
#include <QImage>
#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "browser/thumbnail_cache.h"
#include "imaging/bitmap.h"

class QObject;

namespace vistrel::browser::ui {

// How list thumbnails look and where their pictures come from.
struct ThumbnailStyle {
  int side = 80;
  bool frame = true;            // "Gray background (frame)"
  QColor background = Qt::white;  // the list's colour, behind pictures without the frame
  QColor face = QColor(192, 192, 192);
  std::optional<browser::CacheSettings> cache;  // none: draw from the sources themselves
};

QImage toQImage(const imaging::TBitmap& bitmap);
// The background alone: the placeholder of rows not drawn yet.
QImage placeholderThumbnail(const ThumbnailStyle& style);
// The background with the picture stretched into its fit rectangle.
QImage drawListThumbnail(const QImage& picture, const ThumbnailStyle& style);
// The picture a list thumbnail is drawn from: the cache entry (made first when
// needed) or the source itself. Null when the file holds no picture we can read.
QImage thumbnailPicture(const std::filesystem::path& source, browser::ThumbnailCache* cache);

// Decodes the pictures of a list's files in order on a worker thread, so the
// window stays responsive; each one is handed to `ready` on the receiver's
// thread, and `finished` follows the last one or a stop. The destructor stops
// the worker and waits for the picture it is decoding.
class ThumbnailLoader {
 public:
  using Ready = std::function<void(int row, const QImage& picture)>;
  ThumbnailLoader(std::vector<std::filesystem::path> files, std::optional<browser::CacheSettings> cache,
                  QObject* receiver, Ready ready, std::function<void()> finished);
  ~ThumbnailLoader();
  ThumbnailLoader(const ThumbnailLoader&) = delete;
  ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

  void stop() { stop_ = true; }
  bool running() const { return running_; }

 private:
  void run(std::vector<std::filesystem::path> files, std::optional<browser::CacheSettings> cache, QObject* receiver,
           Ready ready, std::function<void()> finished);

  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{true};
  std::thread worker_;
};

}  // namespace vistrel::browser::ui
