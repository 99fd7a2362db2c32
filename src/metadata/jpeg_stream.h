#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistrel::metadata {

// A JPEG file cut at the start of its image data: the segments before it,
// each as written (0xFF, marker, length, payload), and everything from the
// start of scan on, which is copied untouched.
struct JpegStream {
  struct Segment {
    int marker = 0;
    std::string_view bytes;
    std::string_view payload() const { return bytes.substr(4); }
  };
  std::vector<Segment> segments;
  std::string_view imageData;
  int width = 0;
  int height = 0;  // from the frame header; 0 when there is none
};

// Views into `bytes`, which must outlive the result. Throws Error when the
// bytes are no JPEG or a segment runs past the end.
JpegStream SplitJpeg(std::string_view bytes);

}  // namespace vistrel::metadata
