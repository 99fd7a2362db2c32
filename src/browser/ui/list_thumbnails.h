#pragma once

#include <QColor>
#include <QImage>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
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
// needed) or the source itself. When the cache cannot be used the picture is
// made from the source in memory, and `cacheProblem` receives the reason. Null
// when the file holds no picture we can read.
QImage thumbnailPicture(const std::filesystem::path& source, browser::ThumbnailCache* cache,
                        std::string* cacheProblem = nullptr);

// Decodes the pictures of a list's files on a worker thread, so the window
// stays responsive. It works through the list in order (the sweep), but rows
// the user can see come first: want() names them, and they are loaded even
// after stop() ended the sweep. Each picture is handed to `ready` on the
// receiver's thread; `swept` follows the end of the sweep (all done, or
// stopped). The destructor stops the worker and waits for the picture it is
// decoding.
class ThumbnailLoader {
 public:
  struct Callbacks {
    std::function<void(int row, const QImage& picture)> ready;
    std::function<void()> swept;
    std::function<void(const std::string& reason)> cacheProblem;
  };
  ThumbnailLoader(std::vector<std::filesystem::path> files, std::optional<browser::CacheSettings> cache,
                  QObject* receiver, Callbacks callbacks);
  ~ThumbnailLoader();
  ThumbnailLoader(const ThumbnailLoader&) = delete;
  ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

  // The rows on screen now, replacing the ones named before.
  void want(std::vector<int> rows);
  // Ends the sweep; rows wanted later still load.
  void stop();
  // The row's picture was dropped: wanting it loads it again (the sweep does not go back for it).
  void release(int row);
  // Whether the sweep goes on.
  bool running() const { return sweeping_; }

 private:
  void run(std::optional<browser::CacheSettings> cache);
  // The next row to load, or -1; ends the sweep when it has nothing left. Under the lock.
  int nextRow();

  std::vector<std::filesystem::path> files_;
  QObject* receiver_;
  Callbacks callbacks_;
  // Pictures handed to the receiver's thread and not taken yet. While that
  // thread is busy (a sort of 100,000 rows), the worker waits instead of
  // queueing thousands of them. Shared with the calls in flight, which may
  // outlive the loader.
  struct Backlog {
    std::mutex mutex;
    std::condition_variable taken;
    int count = 0;
    bool quit = false;
  };
  std::shared_ptr<Backlog> backlog_ = std::make_shared<Backlog>();
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<bool> taken_;       // rows loaded or being loaded
  std::deque<int> wanted_;
  std::size_t inOrder_ = 0;       // where the sweep goes on
  std::atomic<bool> sweeping_{true};
  bool sweepEnded_ = false;       // to be reported
  bool quit_ = false;
  std::thread worker_;
};

}  // namespace vistrel::browser::ui
