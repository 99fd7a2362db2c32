#pragma once

#include <string>
#include <string_view>

namespace vistrel::imaging {

// The lossless transforms of a JPEG picture, in their stored numbering.
enum class JpegTransform {
  None = 0,
  FlipHorizontal = 1,
  FlipVertical = 2,
  Transpose = 3,   // across the diagonal from the top-left corner
  Transverse = 4,  // across the other diagonal
  Rotate90 = 5,    // clockwise
  Rotate180 = 6,
  Rotate270 = 7,
};

// Which of the source's markers the output keeps.
enum class MarkerCopy { None, Comments, All /* comments and APP0 to APP15 */ };

struct TransformRequest {
  JpegTransform transform = JpegTransform::None;
  // Drop the partial MCUs along an edge the transform would have to mirror;
  // without trim they stay in place, turned but not mirrored.
  bool trim = true;
  bool forceGrayscale = false;  // keep only the luminance
  // Take the transform from the EXIF Orientation tag instead of `transform`.
  bool followOrientation = false;
  // Set the EXIF Orientation tag to 1: after a turn it no longer tells how to show the pixels.
  bool resetOrientation = false;
};

struct TransformedJpeg {
  std::string bytes;  // empty when following the orientation found nothing to do
  JpegTransform applied = JpegTransform::None;
  int width = 0;
  int height = 0;
};

// Transforms the JPEG file in `jpeg` by rearranging its DCT coefficients:
// no decoding to pixels, no loss. The output is baseline Huffman-coded with
// the source's quantisation tables; the kept markers follow in their order,
// with the EXIF pixel size set to the new size. Throws Error with the JPEG
// library's message when the data cannot be read or transformed.
TransformedJpeg TransformJpeg(std::string_view jpeg, const TransformRequest& request,
                              MarkerCopy copy = MarkerCopy::All);

// The transform that turns a picture with this EXIF Orientation (1 to 8)
// upright; None for 1 and for values outside the range.
JpegTransform transformForOrientation(int orientation);

}  // namespace vistrel::imaging
