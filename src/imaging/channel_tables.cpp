#include <algorithm>
#include <cstring>

#include "imaging/dib_filters.h"

namespace vistrel::imaging {

void FillRamp(ChannelTable& table, int firstIndex, int firstValue, int lastValue, int lastIndex) {
  const std::int64_t span = lastIndex - firstIndex;
  if (span == 0) return;
  const std::int64_t step = (static_cast<std::int64_t>(lastValue - firstValue + 1) * 65536) / span;
  if (lastIndex < firstIndex) return;
  std::int64_t value = static_cast<std::int64_t>(firstValue) * 65536;
  for (int i = firstIndex; i <= lastIndex; ++i, value += step) {
    // Arithmetic shift of a negative value rounds toward minus infinity, as
    // the table has always been drawn.
    if (i >= 0 && i < 256) table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> 16);
  }
}

ChannelTable ContrastTable(int amount) {
  ChannelTable table{};
  if (amount < 0) {
    amount = std::max(amount, -255);
    FillRamp(table, 0, -amount, 255 + amount, 255);
    return table;
  }
  amount = std::min(amount, 255);
  std::fill(table.begin(), table.begin() + amount, 0);
  FillRamp(table, amount, 0, 255, 255 - amount);
  std::fill(table.begin() + (256 - amount), table.end(), 255);
  return table;
}

ChannelTable BrightnessTable(int amount) {
  ChannelTable table{};
  if (amount < 0) {
    FillRamp(table, 0, 0, 255 + std::max(amount, -255), 255);
  } else {
    FillRamp(table, 0, std::min(amount, 255), 255, 255);
  }
  return table;
}

void ApplyChannelTables(TFastDIB& dib, const ChannelTable& red, const ChannelTable& green, const ChannelTable& blue) {
  if (dib.BitCount <= 8) {
    for (RgbQuad& entry : dib.Info.bmiColors) {
      entry.rgbRed = red[entry.rgbRed];
      entry.rgbGreen = green[entry.rgbGreen];
      entry.rgbBlue = blue[entry.rgbBlue];
    }
    return;
  }
  ApplyChannelTables(rowsOf(dib), red, green, blue);
}

void ApplyChannelTables(const PixelRows& picture, const ChannelTable& red, const ChannelTable& green,
                        const ChannelTable& blue) {
  const int bytes = picture.bytesPerPixel;
  if (bytes != 3 && bytes != 4) return;
  for (std::uint8_t* row : picture.rows) {
    for (int x = 0; x < picture.width; ++x, row += bytes) {
      row[0] = blue[row[0]];
      row[1] = green[row[1]];
      row[2] = red[row[2]];
    }
  }
}

void Contrast(TFastDIB& dib, int red, int green, int blue) {
  ApplyChannelTables(dib, ContrastTable(red), ContrastTable(green), ContrastTable(blue));
}

void Brightness(TFastDIB& dib, int red, int green, int blue) {
  ApplyChannelTables(dib, BrightnessTable(red), BrightnessTable(green), BrightnessTable(blue));
}

void Contrast(const PixelRows& picture, int red, int green, int blue) {
  ApplyChannelTables(picture, ContrastTable(red), ContrastTable(green), ContrastTable(blue));
}

void Brightness(const PixelRows& picture, int red, int green, int blue) {
  ApplyChannelTables(picture, BrightnessTable(red), BrightnessTable(green), BrightnessTable(blue));
}

void InvertPixels(TFastDIB& dib) {
  std::uint8_t* p = dib.Bits;
  std::size_t remaining = dib.DataSize;
  // Four bytes at a time through a word, then the rest singly.
  for (; remaining >= 4; remaining -= 4, p += 4) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    word = ~word;
    std::memcpy(p, &word, 4);
  }
  for (; remaining > 0; --remaining, ++p) *p = static_cast<std::uint8_t>(255 - *p);
}

void InvertPixels(const PixelRows& picture) {
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.bytesPerPixel);
  for (std::uint8_t* row : picture.rows) {
    for (std::size_t k = 0; k < rowBytes; ++k) row[k] = static_cast<std::uint8_t>(255 - row[k]);
  }
}

}  // namespace vistrel::imaging
