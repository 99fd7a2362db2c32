#include "browser/ui/list_thumbnails.h"

#include <QMetaObject>
#include <QPainter>

#include "browser/thumbnail_geometry.h"
#include "imaging/image_file.h"
#include "platform/error.h"
#include "platform/log.h"

namespace vistrel::browser::ui {
namespace fs = std::filesystem;

namespace {

// The decoder's 1/8 reduction for pictures drawn without the cache.
constexpr int kDirectReduction = 3;
// Pictures at most on their way to the window: a few screens' worth.
constexpr int kBacklog = 32;

void drawBackground(QPainter& painter, const ThumbnailStyle& style) {
  const int side = style.side;
  if (!style.frame) {
    painter.fillRect(0, 0, side, side, style.background);
    return;
  }
  // A raised panel: light top and left edge, dark bottom and right edge.
  painter.fillRect(0, 0, side, side, style.face);
  painter.setPen(style.face.lighter(150));
  painter.drawLine(0, 0, side - 1, 0);
  painter.drawLine(0, 0, 0, side - 1);
  painter.setPen(style.face.darker(160));
  painter.drawLine(0, side - 1, side - 1, side - 1);
  painter.drawLine(side - 1, 0, side - 1, side - 1);
}

}  // namespace

QImage toQImage(const imaging::TBitmap& bitmap) {
  if (bitmap.Empty()) return {};
  return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888).copy();
}

QImage placeholderThumbnail(const ThumbnailStyle& style) {
  QImage image(style.side, style.side, QImage::Format_RGB32);
  image.fill(style.background);
  QPainter painter(&image);
  drawBackground(painter, style);
  return image;
}

QImage drawListThumbnail(const QImage& picture, const ThumbnailStyle& style) {
  QImage image = placeholderThumbnail(style);
  if (picture.isNull()) return image;
  const browser::Rect fit = browser::thumbnailFitRect(picture.width(), picture.height(), style.side);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top), picture);
  return image;
}

QImage thumbnailPicture(const fs::path& source, browser::ThumbnailCache* cache, std::string* cacheProblem) {
  if (cache) {
    try {
      const fs::path from = cache->thumbnailSource(source);
      return from.empty() ? QImage() : toQImage(imaging::LoadImageBitmap(from, 0));
    } catch (const Error& error) {
      if (cacheProblem) *cacheProblem = error.what();
    }
  }
  return toQImage(imaging::LoadImageBitmap(source, kDirectReduction));
}

ThumbnailLoader::ThumbnailLoader(std::vector<fs::path> files, std::optional<browser::CacheSettings> cache,
                                 QObject* receiver, Callbacks callbacks)
    : files_(std::move(files)),
      receiver_(receiver),
      callbacks_(std::move(callbacks)),
      taken_(files_.size(), false),
      worker_(&ThumbnailLoader::run, this, std::move(cache)) {}

ThumbnailLoader::~ThumbnailLoader() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  {
    const std::lock_guard lock(backlog_->mutex);
    backlog_->quit = true;
  }
  wake_.notify_one();
  backlog_->taken.notify_one();
  worker_.join();
}

void ThumbnailLoader::want(std::vector<int> rows) {
  {
    const std::lock_guard lock(mutex_);
    wanted_.assign(rows.begin(), rows.end());
  }
  wake_.notify_one();
}

void ThumbnailLoader::stop() {
  {
    const std::lock_guard lock(mutex_);
    wanted_.clear();
    if (sweeping_) sweepEnded_ = true;
    sweeping_ = false;
  }
  wake_.notify_one();
}

void ThumbnailLoader::release(int row) {
  const std::lock_guard lock(mutex_);
  if (row >= 0 && std::size_t(row) < taken_.size()) taken_[std::size_t(row)] = false;
}

int ThumbnailLoader::nextRow() {
  while (!wanted_.empty()) {
    const int row = wanted_.front();
    wanted_.pop_front();
    if (row >= 0 && std::size_t(row) < taken_.size() && !taken_[std::size_t(row)]) return row;
  }
  if (!sweeping_) return -1;
  while (inOrder_ < taken_.size() && taken_[inOrder_]) ++inOrder_;
  if (inOrder_ < taken_.size()) return int(inOrder_);
  sweeping_ = false;
  sweepEnded_ = true;
  return -1;
}

void ThumbnailLoader::run(std::optional<browser::CacheSettings> cacheSettings) {
  std::optional<browser::ThumbnailCache> cache;
  if (cacheSettings) cache.emplace(*cacheSettings);
  for (;;) {
    {
      std::unique_lock lock(backlog_->mutex);
      backlog_->taken.wait(lock, [this] { return backlog_->quit || backlog_->count < kBacklog; });
      if (backlog_->quit) return;
    }
    int row = -1;
    bool ended = false;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || sweepEnded_ || sweeping_ || !wanted_.empty(); });
      if (quit_) return;
      row = nextRow();
      if (row >= 0) taken_[std::size_t(row)] = true;
      ended = std::exchange(sweepEnded_, false);
    }
    if (row >= 0) {
      std::string problem;
      QImage picture = thumbnailPicture(files_[std::size_t(row)], cache ? &*cache : nullptr, &problem);
      // The calls may arrive after this loader is gone: they carry their own callbacks.
      if (!problem.empty()) {
        QMetaObject::invokeMethod(receiver_, [report = callbacks_.cacheProblem, problem] { report(problem); },
                                  Qt::QueuedConnection);
      }
      {
        const std::lock_guard lock(backlog_->mutex);
        ++backlog_->count;
      }
      QMetaObject::invokeMethod(
          receiver_,
          [ready = callbacks_.ready, row, picture = std::move(picture), backlog = backlog_] {
            ready(row, picture);
            {
              const std::lock_guard lock(backlog->mutex);
              --backlog->count;
            }
            backlog->taken.notify_one();
          },
          Qt::QueuedConnection);
    }
    if (ended) QMetaObject::invokeMethod(receiver_, callbacks_.swept, Qt::QueuedConnection);
  }
}

}  // namespace vistrel::browser::ui
