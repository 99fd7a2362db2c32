#include "imaging/ui/view_decoder.h"

#include <QImageReader>

namespace vistrel::imaging {
namespace {

// Pictures beyond this many pixels are refused rather than decoded: a forged
// header must not make the viewer allocate gigabytes.
constexpr qint64 kMaxPixels = qint64(1) << 28;

}  // namespace

int reductionFor(QSize fullSize, QSize needed) {
  if (needed.isEmpty()) return 1;
  int reduction = 1;
  while (reduction < 8 && fullSize.width() / (reduction * 2) >= needed.width() &&
         fullSize.height() / (reduction * 2) >= needed.height()) {
    reduction *= 2;
  }
  return reduction;
}

ViewPicture decodeForView(const QString& file, int page, QSize needed) {
  QImageReader reader(file);
  reader.setAutoTransform(false);
  if (page > 0 && !reader.jumpToImage(page)) return {};
  ViewPicture picture;
  picture.fullSize = reader.size();
  if (!picture.fullSize.isValid() ||
      qint64(picture.fullSize.width()) * picture.fullSize.height() > kMaxPixels) {
    return {};
  }
  picture.reduction = reductionFor(picture.fullSize, needed);
  if (picture.reduction > 1) {
    // Scaled decoding lets the JPEG decoder skip most of the work.
    const int r = picture.reduction;
    reader.setScaledSize(QSize((picture.fullSize.width() + r - 1) / r, (picture.fullSize.height() + r - 1) / r));
  }
  picture.pixels = reader.read();
  if (picture.pixels.isNull()) return {};
  return picture;
}

}  // namespace vistrel::imaging
