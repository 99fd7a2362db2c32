#include "gallery/shared_decode.h"

#include <algorithm>

#include "gallery/image_pipeline.h"

namespace vistrel::gallery {

namespace {

// One output row from two source rows (the same row twice for an odd last
// row). A duplicated row or column counts twice in the sum of four, which is
// exactly the rounded average of the pixels there are: (2a + 2b + 2) / 4 is
// (a + b + 1) / 2, and (4a + 2) / 4 is a.
void halveRow(const std::uint8_t* top, const std::uint8_t* bottom, int width, std::uint8_t* out) {
  const int pairs = width / 2;
  for (int x = 0; x < pairs; ++x, top += 6, bottom += 6, out += 3) {
    for (int k = 0; k < 3; ++k) {
      out[k] = static_cast<std::uint8_t>((top[k] + top[k + 3] + bottom[k] + bottom[k + 3] + 2) >> 2);
    }
  }
  if (width % 2 != 0) {
    for (int k = 0; k < 3; ++k) out[k] = static_cast<std::uint8_t>((2 * top[k] + 2 * bottom[k] + 2) >> 2);
  }
}

}  // namespace

RgbImage halvePicture(const RgbImage& picture) {
  RgbImage half((picture.width + 1) / 2, (picture.height + 1) / 2);
  for (int y = 0; y < half.height; ++y) {
    halveRow(picture.at(0, 2 * y), picture.at(0, std::min(2 * y + 1, picture.height - 1)), picture.width,
             half.at(0, y));
  }
  return half;
}

SharedDecode::SharedDecode(ImageCodec& codec, std::filesystem::path file, const std::vector<int>& limits)
    : codec_(codec), file_(std::move(file)), size_(codec.headerSize(file_)), reduction_(3), loadsLeft_(limits.size()) {
  for (const int limit : limits) reduction_ = std::min(reduction_, chooseReduction(size_.width, limit));
}

ImageSize SharedDecode::headerSize(const std::filesystem::path& file) {
  return file == file_ ? size_ : codec_.headerSize(file);
}

RgbImage SharedDecode::load(const std::filesystem::path& file, int reduction) {
  if (file != file_ || reduction < reduction_) return codec_.load(file, reduction);
  if (!decoded_) {
    picture_ = codec_.load(file, reduction_);
    decoded_ = true;
  }
  // The last output takes the picture itself instead of a copy of it; a load
  // beyond the outputs announced decodes again.
  const bool last = loadsLeft_ <= 1;
  if (loadsLeft_ > 0) --loadsLeft_;
  if (reduction == reduction_ || picture_.empty()) {
    if (!last) return picture_;
    decoded_ = false;
    return std::move(picture_);
  }
  RgbImage picture = halvePicture(picture_);
  for (int r = reduction_ + 1; r < reduction; ++r) picture = halvePicture(picture);
  return picture;
}

}  // namespace vistrel::gallery
