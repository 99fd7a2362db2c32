#pragma once

#include <filesystem>

namespace vistrel::test {

// A 4:2:0 JPEG of random pixels at quality 95: it compresses badly, so even
// a small one stays above the thumbnail cache's 100 KB minimum, and it costs
// a decoder as much as a real photo. Photos of different seeds differ.
void writeNoisyPhoto(const std::filesystem::path& file, int width, int height, unsigned seed = 7);

}  // namespace vistrel::test
