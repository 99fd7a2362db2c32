#include "imaging/fast_dib.h"

#include <cstdlib>
#include <limits>
#include <string>
#include <cstring>

#include "imaging/pixel_limits.h"
#include "platform/error.h"

namespace vistrel::imaging {
namespace {

std::uint8_t expandOf(int bits) { return bits >= 8 ? 0 : static_cast<std::uint8_t>(8 - bits); }

void storeMask(RgbQuad& entry, std::uint32_t mask) {
  entry.rgbBlue = static_cast<std::uint8_t>(mask);
  entry.rgbGreen = static_cast<std::uint8_t>(mask >> 8);
  entry.rgbRed = static_cast<std::uint8_t>(mask >> 16);
  entry.rgbReserved = static_cast<std::uint8_t>(mask >> 24);
}

struct RowLayout {
  std::uint32_t stride;
  std::uint32_t gap;
};

RowLayout layoutFor(std::uint32_t width, int bitCount) {
  switch (bitCount) {
    case 1: {
      const std::uint32_t bits = (width + 7) & ~7u;
      const std::uint32_t stride = ((bits + 31) & ~31u) / 8;
      return {stride, stride - (width + 7) / 8};
    }
    case 4: {
      const std::uint32_t bits = (4 * width + 7) & ~7u;
      const std::uint32_t stride = ((bits + 31) & ~31u) / 8;
      return {stride, stride - bits / 8};
    }
    case 32:
      return {4 * width, 0};
    default: {
      const std::uint32_t stride = ((width * bitCount + 31) & ~31u) / 8;
      return {stride, stride - width * (bitCount / 8)};
    }
  }
}

}  // namespace

TFastDIB::TFastDIB() {
  Info.bmiHeader.biSize = 40;
  Info.bmiHeader.biPlanes = 1;
}

void TFastDIB::SetSize(int width, int height, int bitCount) { SetFormat(nullptr, width, height, bitCount, 0, 0, 0); }

void TFastDIB::SetFormat(std::uint8_t* externalMemory, int width, int height, int bitCount, int blueBits,
                         int greenBits, int redBits) {
  if (bitCount == 0) bitCount = 24;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    throw Error("Unsupported bit depth " + std::to_string(bitCount) + ".");
  }
  // A 16-bit pixel has no room for wider fields; the readers of its channels rely on that.
  const int room = bitCount == 16 ? 16 : 32;
  if (blueBits < 0 || greenBits < 0 || redBits < 0 || blueBits + greenBits + redBits > room) {
    throw Error("Invalid colour channel widths.");
  }
  const bool bitFields = blueBits != 0 || greenBits != 0 || redBits != 0;
  if (!bitFields && bitCount == 16) blueBits = greenBits = redBits = 5;
  if (!bitFields && bitCount == 32) blueBits = greenBits = redBits = 8;
  if (bitCount != 16 && bitCount != 32) blueBits = greenBits = redBits = 0;

  if (bitCount == 16 || bitCount == 32) {
    const int total = blueBits + greenBits + redBits;
    const std::uint32_t blue = lowMask(blueBits);
    const std::uint32_t green = lowMask(blueBits + greenBits) & ~blue;
    const std::uint32_t red = lowMask(total) & ~(blue | green);
    storeMask(Info.bmiColors[0], red);
    storeMask(Info.bmiColors[1], green);
    storeMask(Info.bmiColors[2], blue);
  }

  const bool unchanged = !externalMemory && OwnsMemory && width == Width && height == Height &&
                         bitCount == BitCount && blueBits == BlueBits && greenBits == GreenBits &&
                         redBits == RedBits;
  Info.bmiHeader.biCompression = bitFields ? kBiBitFields : kBiRgb;
  if (unchanged) return;

  // INT_MIN has no absolute value; it is far beyond any limit anyway.
  if (height == std::numeric_limits<int>::min()) throw Error("The picture has invalid dimensions.");
  const int absHeight = std::abs(height);
  checkPixelMemory(width, absHeight, (bitCount + 7) / 8);

  Info.bmiHeader.biWidth = width;
  Info.bmiHeader.biHeight = height;
  Info.bmiHeader.biBitCount = static_cast<std::uint16_t>(bitCount);
  Info.bmiHeader.biSize = 40;
  Info.bmiHeader.biPlanes = 1;
  Width = width;
  Height = height;
  AbsHeight = absHeight;
  BitCount = static_cast<std::uint16_t>(bitCount);
  BlueBits = static_cast<std::uint8_t>(blueBits);
  GreenBits = static_cast<std::uint8_t>(greenBits);
  RedBits = static_cast<std::uint8_t>(redBits);
  GreenShift = BlueBits;
  RedShift = static_cast<std::uint8_t>(BlueBits + GreenBits);
  BlueExpand = expandOf(BlueBits);
  GreenExpand = expandOf(GreenBits);
  RedExpand = expandOf(RedBits);
  const RowLayout layout = layoutFor(static_cast<std::uint32_t>(width), bitCount);
  RowStride = layout.stride;
  RowGap = layout.gap;
  DataSize = RowStride * static_cast<std::uint32_t>(AbsHeight);

  if (externalMemory) {
    memory_ = {};
    Bits = externalMemory;
    OwnsMemory = false;
  } else {
    memory_.resize(DataSize);
    Bits = memory_.data();
    OwnsMemory = true;
  }
  Rows.resize(static_cast<std::size_t>(AbsHeight));
  for (std::size_t i = 0; i < Rows.size(); ++i) Rows[i] = Bits + i * RowStride;
}

}  // namespace vistrel::imaging
