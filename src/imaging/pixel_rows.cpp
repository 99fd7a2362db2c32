#include "imaging/pixel_rows.h"

namespace vistrel::imaging {
namespace {

template <class Rows, class Dib>
Rows memoryRows(Dib& dib) {
  Rows rows;
  if (dib.BitCount != 8 && dib.BitCount != 24 && dib.BitCount != 32) return rows;
  rows.rows.assign(dib.Rows.begin(), dib.Rows.end());
  rows.width = dib.Width;
  rows.bytesPerPixel = dib.BitCount / 8;
  return rows;
}

template <class Rows, class Byte>
Rows reversedRows(Byte* pixels, int width, int height, int bytesPerPixel) {
  Rows rows;
  rows.width = width;
  rows.bytesPerPixel = bytesPerPixel;
  const std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
  rows.rows.resize(static_cast<std::size_t>(height));
  for (std::size_t i = 0; i < rows.rows.size(); ++i) rows.rows[i] = pixels + (rows.rows.size() - 1 - i) * stride;
  return rows;
}

}  // namespace

PixelRows rowsOf(TFastDIB& dib) { return memoryRows<PixelRows>(dib); }
ConstPixelRows rowsOf(const TFastDIB& dib) { return memoryRows<ConstPixelRows>(dib); }

PixelRows bottomUpRows(std::uint8_t* pixels, int width, int height, int bytesPerPixel) {
  return reversedRows<PixelRows>(pixels, width, height, bytesPerPixel);
}

ConstPixelRows bottomUpRows(const std::uint8_t* pixels, int width, int height, int bytesPerPixel) {
  return reversedRows<ConstPixelRows>(pixels, width, height, bytesPerPixel);
}

}  // namespace vistrel::imaging
