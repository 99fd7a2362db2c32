// BMP file images in and out of TFastDIB.
#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#include "imaging/byte_reader.h"
#include "imaging/fast_dib.h"

namespace vistrel::imaging {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kCoreHeaderSize = 12;
// The largest info header in use (version 5); larger sizes are not BMP.
constexpr std::size_t kLargestInfoHeader = 124;

// Bits from the lowest to the highest set bit of a channel mask.
int maskWidth(std::uint32_t mask) {
  if (mask == 0) return 0;
  return 32 - std::countl_zero(mask) - std::countr_zero(mask);
}

std::uint32_t maskAt(const ByteReader& in, std::size_t offset) {
  return in.has(offset, 4) ? in.le32(offset) : 0;
}

struct ParsedHeader {
  BitmapInfoHeader header;
  std::uint32_t pixelOffset = 0;
  std::uint32_t fileSize = 0;
  RgbQuad colours[256]{};
  int blueBits = 0, greenBits = 0, redBits = 0;
};

ParsedHeader parseHeader(const ByteReader& in) {
  ParsedHeader parsed;
  parsed.fileSize = in.le32(2);
  parsed.pixelOffset = in.le32(10);
  const std::uint32_t headerSize = in.le32(kFileHeaderSize);
  BitmapInfoHeader& h = parsed.header;
  std::size_t tableOffset = kFileHeaderSize + headerSize;
  if (headerSize == kCoreHeaderSize) {
    h.biWidth = in.le16(18);
    h.biHeight = in.le16(20);
    h.biBitCount = in.le16(24);
    if (h.biBitCount <= 8) {
      const std::size_t entries = std::size_t{1} << h.biBitCount;
      for (std::size_t i = 0; i < entries && in.has(tableOffset + 3 * i, 3); ++i) {
        const auto triple = in.slice(tableOffset + 3 * i, 3);
        parsed.colours[i] = {triple[0], triple[1], triple[2], 0};
      }
    }
    return parsed;
  }
  // Later header versions begin with the same 40 bytes; their extra fields
  // (masks at the same offsets, colour space) are what a 40-byte header with
  // bit fields carries after it, so they read alike.
  enforce(headerSize >= kInfoHeaderSize && headerSize <= kLargestInfoHeader, "Unsupported bitmap header.");
  const std::size_t base = kFileHeaderSize;
  h.biSize = headerSize;
  h.biWidth = static_cast<std::int32_t>(in.le32(base + 4));
  h.biHeight = static_cast<std::int32_t>(in.le32(base + 8));
  h.biPlanes = in.le16(base + 12);
  h.biBitCount = in.le16(base + 14);
  h.biCompression = in.le32(base + 16);
  h.biSizeImage = in.le32(base + 20);
  h.biXPelsPerMeter = static_cast<std::int32_t>(in.le32(base + 24));
  h.biYPelsPerMeter = static_cast<std::int32_t>(in.le32(base + 28));
  h.biClrUsed = in.le32(base + 32);
  h.biClrImportant = in.le32(base + 36);
  if ((h.biBitCount == 16 || h.biBitCount == 32) && h.biCompression == kBiBitFields) {
    const std::size_t masks = base + kInfoHeaderSize;
    parsed.redBits = maskWidth(maskAt(in, masks));
    parsed.greenBits = maskWidth(maskAt(in, masks + 4));
    parsed.blueBits = maskWidth(maskAt(in, masks + 8));
  }
  // The 256 entries after the header are taken whatever the depth; for bit
  // fields SetFormat puts the masks over the first three.
  for (std::size_t i = 0; i < 256 && in.has(tableOffset + 4 * i, 4); ++i) {
    const auto quad = in.slice(tableOffset + 4 * i, 4);
    parsed.colours[i] = {quad[0], quad[1], quad[2], quad[3]};
  }
  return parsed;
}

// Decodes run-length data into the rows of dib in memory order (the first
// line of the data is Rows[0]); every write is checked against the picture.
class RleDecoder {
 public:
  RleDecoder(TFastDIB& dib, std::span<const std::uint8_t> data, bool fourBit)
      : dib_(dib), data_(data), fourBit_(fourBit) {}

  void run() {
    std::size_t p = 0;
    while (p + 2 <= data_.size() && y_ < dib_.AbsHeight) {
      const std::uint8_t count = data_[p];
      const std::uint8_t value = data_[p + 1];
      p += 2;
      if (count > 0) {
        for (int k = 0; k < count; ++k) put(fourBit_ ? (k % 2 == 0 ? value >> 4 : value & 15) : value);
        continue;
      }
      switch (value) {
        case 0:  // end of line
          x_ = 0;
          ++y_;
          break;
        case 1:  // end of bitmap
          return;
        case 2:  // delta
          if (p + 2 > data_.size()) return;
          x_ += data_[p];
          y_ += data_[p + 1];
          p += 2;
          break;
        default:  // absolute run, padded to a 16-bit boundary
          p = absolute(p, value);
          break;
      }
    }
  }

 private:
  std::size_t absolute(std::size_t p, int count) {
    const std::size_t bytes = fourBit_ ? (static_cast<std::size_t>(count) + 1) / 2 : static_cast<std::size_t>(count);
    for (int k = 0; k < count; ++k) {
      const std::size_t at = p + (fourBit_ ? static_cast<std::size_t>(k / 2) : static_cast<std::size_t>(k));
      if (at >= data_.size()) break;
      put(fourBit_ ? (k % 2 == 0 ? data_[at] >> 4 : data_[at] & 15) : data_[at]);
    }
    return p + bytes + (bytes & 1);
  }

  // Runs that pass the row's end are cut there.
  void put(int index) {
    if (x_ < dib_.Width && y_ < dib_.AbsHeight) {
      std::uint8_t* row = dib_.Rows[static_cast<std::size_t>(y_)];
      if (fourBit_) {
        std::uint8_t& byte = row[x_ / 2];
        byte = x_ % 2 == 0 ? static_cast<std::uint8_t>((byte & 0x0F) | index << 4)
                           : static_cast<std::uint8_t>((byte & 0xF0) | index);
      } else {
        row[x_] = static_cast<std::uint8_t>(index);
      }
    }
    ++x_;
  }

  TFastDIB& dib_;
  std::span<const std::uint8_t> data_;
  bool fourBit_;
  int x_ = 0;
  int y_ = 0;
};

void putLe16(std::ostream& out, std::uint32_t value) {
  const char bytes[2] = {static_cast<char>(value), static_cast<char>(value >> 8)};
  out.write(bytes, 2);
}

void putLe32(std::ostream& out, std::uint32_t value) {
  putLe16(out, value & 0xFFFF);
  putLe16(out, value >> 16);
}

}  // namespace

void TFastDIB::LoadFromStream(std::istream& stream) {
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  LoadFromMemory(bytes);
}

void TFastDIB::LoadFromMemory(std::span<const std::uint8_t> bytes) {
  const ByteReader in(bytes);
  const ParsedHeader parsed = parseHeader(in);
  const BitmapInfoHeader& h = parsed.header;
  SetFormat(nullptr, h.biWidth, h.biHeight, h.biBitCount, parsed.blueBits, parsed.greenBits, parsed.redBits);
  // Keep the rest of the file's header (resolution, colours used) as it was;
  // the format fields stay as SetFormat laid them out.
  Info.bmiHeader.biSizeImage = h.biSizeImage;
  Info.bmiHeader.biXPelsPerMeter = h.biXPelsPerMeter;
  Info.bmiHeader.biYPelsPerMeter = h.biYPelsPerMeter;
  Info.bmiHeader.biClrUsed = h.biClrUsed;
  Info.bmiHeader.biClrImportant = h.biClrImportant;
  if (BitCount != 16 && BitCount != 32) std::copy(std::begin(parsed.colours), std::end(parsed.colours), Info.bmiColors);

  const std::size_t offset = std::min<std::size_t>(parsed.pixelOffset, bytes.size());
  const std::size_t available = bytes.size() - offset;
  if (h.biCompression == kBiRle8 || h.biCompression == kBiRle4) {
    enforce(BitCount == (h.biCompression == kBiRle8 ? 8 : 4), "Unsupported bitmap compression.");
    const std::size_t declared =
        parsed.fileSize > parsed.pixelOffset ? parsed.fileSize - parsed.pixelOffset : std::size_t{0};
    std::fill(Bits, Bits + DataSize, 0);
    RleDecoder(*this, bytes.subspan(offset, std::min(declared, available)), h.biCompression == kBiRle4).run();
    return;
  }
  const std::size_t count = std::min<std::size_t>(available, DataSize);
  if (count > 0) std::memcpy(Bits, bytes.data() + offset, count);
}

void TFastDIB::SaveToStream(std::ostream& stream) const {
  const BitmapInfoHeader& h = Info.bmiHeader;
  std::uint32_t tableSize = 0;
  if (h.biClrUsed != 0) {
    tableSize = 4 * std::min<std::uint32_t>(h.biClrUsed, 256);
  } else if (h.biCompression == kBiBitFields) {
    tableSize = 12;
  } else if (BitCount <= 8) {
    tableSize = 4u << BitCount;
  }
  const std::uint32_t offBits = 54 + tableSize;
  stream.write("BM", 2);
  putLe32(stream, DataSize + offBits);
  putLe32(stream, 0);
  putLe32(stream, offBits);
  putLe32(stream, 40);
  putLe32(stream, static_cast<std::uint32_t>(h.biWidth));
  putLe32(stream, static_cast<std::uint32_t>(h.biHeight));
  putLe16(stream, h.biPlanes);
  putLe16(stream, h.biBitCount);
  putLe32(stream, h.biCompression);
  putLe32(stream, h.biSizeImage);
  putLe32(stream, static_cast<std::uint32_t>(h.biXPelsPerMeter));
  putLe32(stream, static_cast<std::uint32_t>(h.biYPelsPerMeter));
  putLe32(stream, h.biClrUsed);
  putLe32(stream, h.biClrImportant);
  for (std::uint32_t i = 0; i < tableSize / 4; ++i) {
    const RgbQuad& q = Info.bmiColors[i];
    const char quad[4] = {static_cast<char>(q.rgbBlue), static_cast<char>(q.rgbGreen), static_cast<char>(q.rgbRed),
                          static_cast<char>(q.rgbReserved)};
    stream.write(quad, 4);
  }
  stream.write(reinterpret_cast<const char*>(Bits), DataSize);
}

}  // namespace vistrel::imaging
