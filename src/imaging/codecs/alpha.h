#pragma once

#include <cstdint>

namespace vistrel::imaging::codecs {

// Transparent parts are shown on white: the loaders deliver opaque 24-bit
// pictures and a thumbnail on a white page should not turn black where the
// source was see-through.
inline std::uint8_t onWhite(unsigned colour, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// One RGBA row (straight alpha) to a BGR row.
inline void rgbaRowToBgr(const std::uint8_t* in, std::uint8_t* out, int width) {
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    out[0] = onWhite(in[2], in[3]);
    out[1] = onWhite(in[1], in[3]);
    out[2] = onWhite(in[0], in[3]);
  }
}

}  // namespace vistrel::imaging::codecs
