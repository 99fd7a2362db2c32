#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace vistrel::imaging {

// Scale values: > 0 is a percentage (100 = full size); the others are modes.
inline constexpr int kShrinkToFit = 0;
inline constexpr int kGrowToFit = -1;
inline constexpr int kStretchToFit = -2;
inline constexpr int kGrowToWidth = -3;
inline constexpr int kGrowToHeight = -4;

// How a view shows its picture: the room it has and the scale.
struct ViewGeometry {
  QSize viewport;
  int scale = kShrinkToFit;
  bool operator==(const ViewGeometry&) const = default;
};

// The size a picture of `picture` pixels is drawn at in the view.
QSize displaySizeFor(QSize picture, const ViewGeometry& view);
// The pixels a view needs to draw the picture one to one: its display size,
// but never more than the picture has.
QSize idealPixelsFor(QSize picture, const ViewGeometry& view);

// A picture made for the screen: 32-bit pixels, upright, at the size a view
// draws it (or smaller, while a better one is on its way).
struct ViewPicture {
  QImage pixels;          // null when the file holds no picture we can read
  QSize fullSize;         // the whole picture's size, upright
  int bitsPerPixel = 0;   // of the file
  int colours = 0;        // palette entries, 0 for true colour
};

struct ViewRequest {
  QString file;
  int page = 0;
  bool upright = true;  // turn photos as their EXIF orientation says
  ViewGeometry view;
};

// The reduction (1, 2, 4 or 8) that still gives at least `needed` pixels in
// both directions; 1 when `needed` is empty (full size wanted).
int reductionFor(QSize fullSize, QSize needed);

// Decodes the request's picture at idealPixelsFor its view: JPEG files are
// reduced while decoding, then every picture is scaled to the exact size and
// turned upright. Safe to call from a worker thread; an unreadable file gives
// a null picture.
ViewPicture decodeForView(const ViewRequest& request);

// The picture smoothly scaled to `size`.
ViewPicture scaledPicture(const ViewPicture& picture, QSize size);

}  // namespace vistrel::imaging
