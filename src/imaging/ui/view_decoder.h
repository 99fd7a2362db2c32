#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace vistrel::imaging {

// A picture decoded for the screen, perhaps at a reduced size.
struct ViewPicture {
  QImage pixels;       // null when the file holds no picture we can read
  QSize fullSize;      // the picture's own size
  int reduction = 1;   // 1, 2, 4 or 8: fullSize / reduction ≈ pixels.size()
};

// The reduction (1, 2, 4 or 8) that still gives at least `needed` pixels in
// both directions; 1 when `needed` is empty (full size wanted).
int reductionFor(QSize fullSize, QSize needed);

// Decodes page `page` of `file` for a view that needs at least `needed`
// pixels (empty: full size). This is the one place where the viewer turns a file into pixels, so
// that the imaging layer's loader can take over here. Safe to call from a
// worker thread.
ViewPicture decodeForView(const QString& file, int page, QSize needed);

}  // namespace vistrel::imaging
