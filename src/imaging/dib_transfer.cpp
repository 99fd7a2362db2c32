#include "imaging/dib_transfer.h"

#include <algorithm>
#include <sstream>

#include "platform/atomic_file.h"

namespace vistrel::imaging {
namespace {

std::uint8_t channel(std::uint32_t pixel, int shift, int bits) {
  if (bits == 0) return 0;
  const std::uint32_t value = (pixel >> shift) & lowMask(bits);
  return static_cast<std::uint8_t>(bits < 8 ? value << (8 - bits) : value >> (bits - 8));
}

void putPalette(std::uint8_t* out, const RgbQuad& colour) {
  out[0] = colour.rgbBlue;
  out[1] = colour.rgbGreen;
  out[2] = colour.rgbRed;
}

// One row of any depth to 24 bits.
void convertRow(const TFastDIB& dib, const std::uint8_t* in, std::uint8_t* out) {
  const int width = dib.Width;
  switch (dib.BitCount) {
    case 24:
      std::copy_n(in, static_cast<std::size_t>(width) * 3, out);
      return;
    case 8:
      for (int x = 0; x < width; ++x) putPalette(out + 3 * x, dib.Palette()[in[x]]);
      return;
    case 4:
      for (int x = 0; x < width; ++x) putPalette(out + 3 * x, dib.Palette()[(in[x / 2] >> (x % 2 ? 0 : 4)) & 15]);
      return;
    case 1:
      for (int x = 0; x < width; ++x) putPalette(out + 3 * x, dib.Palette()[(in[x / 8] >> (7 - x % 8)) & 1]);
      return;
    default:
      break;
  }
  const int bytes = dib.BitCount / 8;
  for (int x = 0; x < width; ++x) {
    const std::uint8_t* p = in + x * bytes;
    const std::uint32_t pixel =
        bytes == 2 ? static_cast<std::uint32_t>(p[0] | p[1] << 8)
                   : p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    out[3 * x] = channel(pixel, 0, dib.BlueBits);
    out[3 * x + 1] = channel(pixel, dib.GreenShift, dib.GreenBits);
    out[3 * x + 2] = channel(pixel, dib.RedShift, dib.RedBits);
  }
}

}  // namespace

void BitmapToDib(const TBitmap& bitmap, TFastDIB& dib) {
  dib.SetSize(bitmap.Width(), bitmap.Height(), 24);
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * 3;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::copy_n(bitmap.ScanLine(y), rowBytes, dib.Rows[static_cast<std::size_t>(bitmap.Height() - 1 - y)]);
  }
}

void DibToBitmap(const TFastDIB& dib, TBitmap& bitmap) {
  bitmap.SetSize(dib.Width, dib.AbsHeight);
  for (int y = 0; y < dib.AbsHeight; ++y) {
    const int memoryRow = dib.Height > 0 ? dib.AbsHeight - 1 - y : y;
    convertRow(dib, dib.Rows[static_cast<std::size_t>(memoryRow)], bitmap.ScanLine(y));
  }
}

void SaveBitmapAsBmp(const std::filesystem::path& file, const TBitmap& picture) {
  TFastDIB dib;
  BitmapToDib(picture, dib);
  std::ostringstream stream;
  dib.SaveToStream(stream);
  platform::AtomicFile out(file);
  out.write(stream.view());
  out.commit();
}

void CopyToBitmap24(TBitmap& target, const TBitmap& picture) {
  if (&target != &picture) target = picture;
}

}  // namespace vistrel::imaging
