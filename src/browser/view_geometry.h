#pragma once

#include "browser/thumbnail_geometry.h"
#include "options/program_options.h"

namespace vistrel::browser {

// The sizes and places of a picture on screen, on paper and on the desktop.
// Scales are the viewer's: 0 shrinks to fit, a positive value is a
// percentage, 100 full size, -1 grows to fit.

// The scale of a preview that shows a picture: 100 when it is smaller than
// the viewer both ways, else 0.
int ShrinkToFitScale(Size picture, Size viewer);

// The full-screen viewer's scale when it shows another picture: "Full size"
// 100, "Shrink to fit" as the preview, "Stretch to fit" the scale it has.
int FullScreenScale(options::FullScreenSize mode, int currentScale, Size picture, Size viewer);

// The fitted desktop picture of a w × h picture on a W × H screen: the longer
// side fitted to the screen, the other in proportion (halves to even); a
// picture that fits keeps its size.
Size FittedWallpaperSize(int width, int height, int screenWidth, int screenHeight);

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// A printed page in printer pixels: the title line, the program line and its
// clip, and the picture fitted and centred into the printable area.
struct PrintLayout {
  Rect printable;
  Point title;  // the top left of the title line
  Point programLine;
  Rect programClip;
  Rect picture;
};
PrintLayout PrintLayoutFor(Size page, Size picture);

}  // namespace vistrel::browser
