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

QImage thumbnailPicture(const fs::path& source, browser::ThumbnailCache* cache) {
  try {
    if (!cache) return toQImage(imaging::LoadImageBitmap(source, kDirectReduction));
    const fs::path from = cache->thumbnailSource(source);
    return from.empty() ? QImage() : toQImage(imaging::LoadImageBitmap(from, 0));
  } catch (const Error& error) {
    // A cache entry that cannot be written: the row keeps its placeholder.
    log::warning("thumbnail of " + source.string() + ": " + error.what());
    return {};
  }
}

ThumbnailLoader::ThumbnailLoader(std::vector<fs::path> files, std::optional<browser::CacheSettings> cache,
                                 QObject* receiver, Ready ready, std::function<void()> finished)
    : worker_(&ThumbnailLoader::run, this, std::move(files), std::move(cache), receiver, std::move(ready),
              std::move(finished)) {}

ThumbnailLoader::~ThumbnailLoader() {
  stop_ = true;
  worker_.join();
}

void ThumbnailLoader::run(std::vector<fs::path> files, std::optional<browser::CacheSettings> cacheSettings,
                          QObject* receiver, Ready ready, std::function<void()> finished) {
  std::optional<browser::ThumbnailCache> cache;
  if (cacheSettings) cache.emplace(*cacheSettings);
  for (int row = 0; row < int(files.size()) && !stop_; ++row) {
    QImage picture = thumbnailPicture(files[std::size_t(row)], cache ? &*cache : nullptr);
    QMetaObject::invokeMethod(receiver, [ready, row, picture = std::move(picture)] { ready(row, picture); },
                              Qt::QueuedConnection);
  }
  running_ = false;
  QMetaObject::invokeMethod(receiver, finished, Qt::QueuedConnection);
}

}  // namespace vistrel::browser::ui
