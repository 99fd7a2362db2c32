#pragma once

namespace vistrel::imaging {

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The size whose longer side is `side` and whose other side keeps the
// picture's proportion, rounded to the nearest pixel (halves to even). A strip
// so thin that it would round to nothing keeps one pixel, which a JPEG can
// hold. Nothing for a picture without pixels.
PictureSize sizeForLongerSide(int width, int height, int side);

}  // namespace vistrel::imaging
