#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace vistrel::imaging {

// A picture decoded for the screen, perhaps at a reduced size.
struct ViewPicture {
  QImage pixels;          // null when the file holds no picture we can read
  QSize fullSize;         // the picture's own size
  int reduction = 1;      // 1, 2, 4 or 8: fullSize / reduction ≈ pixels.size()
  int bitsPerPixel = 0;   // of the file
  int colours = 0;        // palette entries, 0 for true colour
};

// The reduction (1, 2, 4 or 8) that still gives at least `needed` pixels in
// both directions; 1 when `needed` is empty (full size wanted).
int reductionFor(QSize fullSize, QSize needed);

// Decodes page `page` of `file` through the imaging layer for a view that
// needs at least `needed` pixels (empty: full size). JPEG files are then
// decoded at the reduced size directly. Safe to call from a worker thread.
ViewPicture decodeForView(const QString& file, int page, QSize needed);

}  // namespace vistrel::imaging
