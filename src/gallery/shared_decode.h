#pragma once

#include <filesystem>
#include <vector>

#include "gallery/image_codec.h"

namespace vistrel::gallery {

// Halves a picture by averaging each 2 × 2 block; an odd last row or column
// averages the pixels it has, so the size is that of a decoder's own halving.
RgbImage halvePicture(const RgbImage& picture);

// One photo's outputs from one decode. The photo is decoded once at the
// smallest reduction its outputs need; a larger reduction is made from that
// picture by exact 2 × 2 averaging instead of a second entropy decode, which
// is most of what a decode costs. Everything else goes to the wrapped codec.
class SharedDecode : public ImageCodec {
 public:
  // `limits`: the size limits of the outputs that will be made, one load each.
  SharedDecode(ImageCodec& codec, std::filesystem::path file, const std::vector<int>& limits);

  bool canOpen(const std::filesystem::path& file) override { return codec_.canOpen(file); }
  ImageSize headerSize(const std::filesystem::path& file) override;
  RgbImage load(const std::filesystem::path& file, int reduction) override;
  std::uint64_t decodeMemory(const std::filesystem::path& file, ImageSize size, int reduction) override {
    return codec_.decodeMemory(file, size, reduction);
  }
  // What the one decode of the photo holds at its peak.
  std::uint64_t memoryNeeded() { return codec_.decodeMemory(file_, size_, reduction_); }
  RgbImage scaleAndFilter(const RgbImage& source, int width, int height, const FilterSteps& steps) override {
    return codec_.scaleAndFilter(source, width, height, steps);
  }
  std::string encodeJpeg(const RgbImage& image, int quality) override { return codec_.encodeJpeg(image, quality); }

 private:
  ImageCodec& codec_;
  std::filesystem::path file_;
  ImageSize size_;
  int reduction_ = 0;
  std::size_t loadsLeft_ = 0;
  bool decoded_ = false;
  RgbImage picture_;
};

}  // namespace vistrel::gallery
