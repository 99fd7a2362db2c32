// PCX, our own reader: 8-bit palette, 24-bit in three planes, 1-bit
// monochrome, 4-bit and 16-colour planar, run-length coded or plain.
#include <algorithm>
#include <array>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"

namespace vistrel::imaging::codecs {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr const char* kDamaged = "The PCX file is damaged.";

struct PcxHeader {
  int width = 0;
  int height = 0;
  int bitsPerPlane = 0;
  int planes = 0;
  int bytesPerLine = 0;
  bool compressed = false;
};

PcxHeader parse(const ByteReader& in) {
  PcxHeader h;
  const int xMin = in.le16(4), yMin = in.le16(6), xMax = in.le16(8), yMax = in.le16(10);
  enforce(xMax >= xMin && yMax >= yMin, kDamaged);
  h.width = xMax - xMin + 1;
  h.height = yMax - yMin + 1;
  h.compressed = in.u8(2) == 1;
  h.bitsPerPlane = in.u8(3);
  h.planes = in.u8(65);
  h.bytesPerLine = in.le16(66);
  return h;
}

using Palette = std::array<std::array<std::uint8_t, 3>, 256>;

// The 256-colour table at the end of the file, else grey levels.
Palette tailPalette(const ByteReader& in) {
  Palette palette{};
  const std::size_t size = in.size();
  if (size >= kHeaderSize + 769 && in.u8(size - 769) == 0x0C) {
    for (std::size_t i = 0; i < 256; ++i) {
      for (std::size_t c = 0; c < 3; ++c) palette[i][c] = in.u8(size - 768 + 3 * i + c);
    }
  } else {
    for (std::size_t i = 0; i < 256; ++i) palette[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
  }
  return palette;
}

// The 16-colour table in the header.
Palette headerPalette(const ByteReader& in) {
  Palette palette{};
  for (std::size_t i = 0; i < 16; ++i) {
    for (std::size_t c = 0; c < 3; ++c) palette[i][c] = in.u8(16 + 3 * i + c);
  }
  return palette;
}

// Unpacks the coded lines one after the other; missing data reads as 0.
class LineReader {
 public:
  LineReader(std::span<const std::uint8_t> data, bool compressed) : data_(data), compressed_(compressed) {}

  void next(std::vector<std::uint8_t>& line) {
    for (std::uint8_t& byte : line) {
      if (run_ == 0) fill();
      byte = value_;
      if (run_ > 0) --run_;
    }
  }

 private:
  void fill() {
    value_ = 0;
    if (position_ >= data_.size()) return;
    const std::uint8_t b = data_[position_++];
    if (compressed_ && (b & 0xC0) == 0xC0) {
      run_ = b & 0x3F;
      value_ = position_ < data_.size() ? data_[position_++] : 0;
    } else {
      run_ = 1;
      value_ = b;
    }
  }

  std::span<const std::uint8_t> data_;
  bool compressed_;
  std::size_t position_ = 0;
  int run_ = 0;
  std::uint8_t value_ = 0;
};

class PcxDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    const PcxHeader h = parse(ByteReader(bytes, kDamaged));
    return {h.width, h.height, h.bitsPerPlane * h.planes};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest&) const override {
    const ByteReader in(bytes, kDamaged);
    const PcxHeader h = parse(in);
    const bool palette8 = h.bitsPerPlane == 8 && h.planes == 1;
    const bool trueColour = h.bitsPerPlane == 8 && (h.planes == 3 || h.planes == 4);
    const bool planar = h.bitsPerPlane == 1 && h.planes >= 1 && h.planes <= 4;
    const bool packed4 = h.bitsPerPlane == 4 && h.planes == 1;
    enforce(palette8 || trueColour || planar || packed4, "This kind of PCX file is not supported.");
    // A line holds at least its pixels; far more would only make a tiny file
    // spin over padding that is not there.
    const long needed = (static_cast<long>(h.width) * h.bitsPerPlane + 7) / 8;
    enforce(h.bytesPerLine >= needed && h.bytesPerLine <= 2 * needed + 16, kDamaged);
    checkPixelMemory(h.width, h.height, 3);

    DecodedImage image;
    image.bitmap.SetSize(h.width, h.height);
    image.bitsPerPixel = h.bitsPerPlane * h.planes;
    const std::size_t dataEnd = palette8 && bytes.size() >= kHeaderSize + 769 ? bytes.size() - 769 : bytes.size();
    Palette palette{};
    if (palette8) palette = tailPalette(in);
    if (planar || packed4) palette = headerPalette(in);
    // One plane of one bit is black and white whatever the header says.
    if (planar && h.planes == 1) palette[0] = {0, 0, 0}, palette[1] = {255, 255, 255};
    if (!trueColour) image.colours = 1 << image.bitsPerPixel;

    LineReader reader(bytes.subspan(kHeaderSize, std::max(dataEnd, kHeaderSize) - kHeaderSize), h.compressed);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(h.bytesPerLine) * static_cast<std::size_t>(h.planes));
    const auto plane = [&](int p) { return line.data() + static_cast<std::size_t>(p) * h.bytesPerLine; };
    for (int y = 0; y < h.height; ++y) {
      reader.next(line);
      std::uint8_t* out = image.bitmap.ScanLine(y);
      for (int x = 0; x < h.width; ++x, out += 3) {
        std::array<std::uint8_t, 3> rgb;
        if (trueColour) {
          rgb = {plane(0)[x], plane(1)[x], plane(2)[x]};
        } else {
          int index = 0;
          if (palette8) index = line[static_cast<std::size_t>(x)];
          if (packed4) index = (line[static_cast<std::size_t>(x / 2)] >> (x % 2 ? 0 : 4)) & 15;
          if (planar) {
            for (int p = 0; p < h.planes; ++p) index |= ((plane(p)[x / 8] >> (7 - x % 8)) & 1) << p;
          }
          rgb = palette[static_cast<std::size_t>(index)];
        }
        out[0] = rgb[2];
        out[1] = rgb[1];
        out[2] = rgb[0];
      }
    }
    return image;
  }
};

}  // namespace

std::unique_ptr<ImageDecoder> makePcxDecoder() { return std::make_unique<PcxDecoder>(); }

}  // namespace vistrel::imaging::codecs
