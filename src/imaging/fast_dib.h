#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <span>
#include <vector>

namespace vistrel::imaging {

// The header of a device-independent bitmap as it stands in a BMP file.
struct BitmapInfoHeader {
  std::uint32_t biSize = 0;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;
  std::uint16_t biPlanes = 0;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};

// The low `bits` bits set, all 32 included (a shift by 32 would be undefined).
inline std::uint32_t lowMask(int bits) { return bits >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << bits) - 1; }

// One colour-table entry; for bit-field pictures the first three entries hold
// the red, green and blue masks as little-endian 32-bit words.
struct RgbQuad {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;
};

struct BitmapInfo {
  BitmapInfoHeader bmiHeader;
  RgbQuad bmiColors[256];
};

// Values of biCompression.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitFields = 3;

// The program's own pixel buffer. Rows lie bottom-up in memory when Height is
// positive (Rows[0] is then the bottom line), exactly as in a BMP file, and
// the filters of this library walk them in that memory order. The buffer
// always lives in heap memory here; UseDIBSection is kept for callers that set
// it but changes nothing. Not copyable (it may wrap memory it does not own).
class TFastDIB {
 public:
  TFastDIB();
  TFastDIB(const TFastDIB&) = delete;
  TFastDIB& operator=(const TFastDIB&) = delete;
  TFastDIB(TFastDIB&&) = default;
  TFastDIB& operator=(TFastDIB&&) = default;

  BitmapInfo Info{};
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t AbsHeight = 0;
  std::uint16_t BitCount = 0;
  std::uint8_t BlueBits = 0, GreenBits = 0, RedBits = 0;
  std::uint8_t GreenShift = 0, RedShift = 0;
  std::uint8_t BlueExpand = 0, GreenExpand = 0, RedExpand = 0;
  std::uint32_t RowStride = 0;
  std::uint32_t RowGap = 0;
  std::uint32_t DataSize = 0;
  std::uint8_t* Bits = nullptr;
  std::vector<std::uint8_t*> Rows;
  bool UseDIBSection = true;
  bool OwnsMemory = false;

  RgbQuad* Palette() { return Info.bmiColors; }
  const RgbQuad* Palette() const { return Info.bmiColors; }

  // SetFormat without external memory and with all channel widths 0.
  void SetSize(int width, int height, int bitCount);
  // Lays the buffer out for the given format. External memory, when given,
  // becomes Bits without being owned and must hold DataSize bytes. A bit count
  // of 0 (the screen's depth on a desktop) means 24 here. Throws Error for a
  // depth other than 1, 4, 8, 16, 24, 32 or a picture above the memory limit.
  void SetFormat(std::uint8_t* externalMemory, int width, int height, int bitCount, int blueBits, int greenBits,
                 int redBits);

  // Reads a BMP file image from the stream's current position (offsets in the
  // image count from there). Throws Error("Stream read error") when the stream
  // ends before the header, Error for headers it cannot take.
  void LoadFromStream(std::istream& stream);
  // The same from bytes in memory.
  void LoadFromMemory(std::span<const std::uint8_t> bytes);
  // Writes a complete BMP file image.
  void SaveToStream(std::ostream& stream) const;

 private:
  std::vector<std::uint8_t> memory_;
};

}  // namespace vistrel::imaging
