#pragma once

namespace vistrel::browser {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

// The longer side of every cache picture.
inline constexpr int kCachePictureSide = 200;

// The size of a cache picture for a w × h source: 200 on the longer side, the
// other side rounded to the nearest integer, halves to even, and at least 1.
Size cachePictureSize(int width, int height);

// Where a w × h picture is stretched into a list thumbnail of `side` × `side`
// pixels: the inner rectangle (3 pixels in from each edge), narrowed to the
// picture's shape. The scale uses side − 3 (the inner rectangle's right and
// bottom), not the inner size, and the divisions truncate, as the list always
// drew them.
Rect thumbnailFitRect(int width, int height, int side);

}  // namespace vistrel::browser
