#include "browser/view_geometry.h"

#include <algorithm>

#include "imaging/longer_side.h"

namespace vistrel::browser {
namespace {

constexpr int kMargin = 200;

}  // namespace

int ShrinkToFitScale(Size picture, Size viewer) {
  return picture.width < viewer.width && picture.height < viewer.height ? 100 : 0;
}

// "Shrink to fit" once showed a picture at full size when only its longer
// side fitted, cutting off the other; it now takes full size only when the
// picture fits both ways, as the preview always did.
int FullScreenScale(options::FullScreenSize mode, int currentScale, Size picture, Size viewer) {
  switch (mode) {
    case options::FullScreenSize::FullSize: return 100;
    case options::FullScreenSize::StretchToFit: return currentScale;
    case options::FullScreenSize::ShrinkToFit: break;
  }
  return ShrinkToFitScale(picture, viewer);
}

Size FittedWallpaperSize(int width, int height, int screenWidth, int screenHeight) {
  if (width <= 0 || height <= 0) return {};
  const bool landscape = height < width;
  if (landscape ? width < screenWidth : height < screenHeight) return {width, height};
  const imaging::PictureSize fitted = imaging::sizeForLongerSide(width, height, landscape ? screenWidth : screenHeight);
  return {fitted.width, fitted.height};
}

PrintLayout PrintLayoutFor(Size page, Size picture) {
  PrintLayout layout;
  layout.printable = {kMargin, kMargin, page.width - kMargin, page.height - kMargin};
  layout.title = {kMargin, 10};
  layout.programLine = {250, page.height - 145};
  layout.programClip = {kMargin, page.height - 150, page.width - kMargin, page.height - 50};
  const Rect& area = layout.printable;
  const std::int64_t areaWidth = std::max(area.right - area.left, 0), areaHeight = std::max(area.bottom - area.top, 0);
  if (picture.width <= 0 || picture.height <= 0 || areaWidth == 0 || areaHeight == 0) return layout;
  // The side that meets the area's edge first sets the scale.
  Size fitted{static_cast<int>(areaWidth), imaging::roundHalfEven(areaWidth * picture.height, picture.width)};
  if (fitted.height > areaHeight) {
    fitted = {imaging::roundHalfEven(areaHeight * picture.width, picture.height), static_cast<int>(areaHeight)};
  }
  const int left = area.left + (static_cast<int>(areaWidth) - fitted.width) / 2;
  const int top = area.top + (static_cast<int>(areaHeight) - fitted.height) / 2;
  layout.picture = {left, top, left + fitted.width, top + fitted.height};
  return layout;
}

}  // namespace vistrel::browser
