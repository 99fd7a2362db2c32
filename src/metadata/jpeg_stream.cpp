#include "metadata/jpeg_stream.h"

#include "metadata/end_ind.h"

namespace vistrel::metadata {
namespace {

constexpr int kSos = 0xDA, kEoi = 0xD9;

// Start-of-frame markers: C0…CF without DHT (C4), JPG (C8) and DAC (CC).
bool isFrameHeader(int marker) { return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC; }

}  // namespace

JpegStream SplitJpeg(std::string_view bytes) {
  enforce(bytes.starts_with("\xFF\xD8"), "Not a JPEG file");
  JpegStream stream;
  std::size_t at = 2;
  while (true) {
    enforce(at + 2 <= bytes.size() && bytes[at] == '\xFF', "The JPEG file is damaged");
    // Fill bytes (0xFF runs) before a marker are dropped.
    while (at + 2 <= bytes.size() && bytes[at + 1] == '\xFF') ++at;
    enforce(at + 2 <= bytes.size(), "The JPEG file is damaged");
    const int marker = static_cast<unsigned char>(bytes[at + 1]);
    if (marker == kSos || marker == kEoi) break;
    enforce(at + 4 <= bytes.size(), "The JPEG file is damaged");
    const std::size_t length = unsignedOf(bytes.substr(at + 2, 2), true);
    enforce(length >= 2 && at + 2 + length <= bytes.size(), "The JPEG file is damaged");
    const JpegStream::Segment segment{marker, bytes.substr(at, 2 + length)};
    if (isFrameHeader(marker) && length >= 7) {
      stream.height = static_cast<int>(unsignedOf(segment.payload().substr(1, 2), true));
      stream.width = static_cast<int>(unsignedOf(segment.payload().substr(3, 2), true));
    }
    stream.segments.push_back(segment);
    at += 2 + length;
  }
  stream.imageData = bytes.substr(at);
  return stream;
}

}  // namespace vistrel::metadata
