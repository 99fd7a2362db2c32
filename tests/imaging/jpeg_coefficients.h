#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::imaging::test {

// What a JPEG file holds below its entropy coding, read with libjpeg's
// coefficient interface: comparing two of these compares pictures exactly.
struct JpegComponent {
  int h = 0, v = 0;
  unsigned widthInBlocks = 0, heightInBlocks = 0;
  std::array<std::uint16_t, 64> quant{};
  std::vector<std::array<std::int16_t, 64>> blocks;  // the real blocks, row by row
  bool operator==(const JpegComponent&) const = default;
};

struct JpegCoefficients {
  int width = 0, height = 0;
  std::vector<JpegComponent> components;
  bool operator==(const JpegCoefficients&) const = default;
};

// Fails the running test and returns nothing useful when the bytes are no JPEG.
JpegCoefficients readCoefficients(std::string_view jpeg);

// The markers before the image data (APPn and COM), each as marker byte and payload.
std::vector<std::pair<int, std::string>> markersOf(std::string_view jpeg);

}  // namespace vistrel::imaging::test
