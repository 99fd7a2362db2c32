#include "gallery/shared_decode.h"

#include <algorithm>

#include "gallery/image_pipeline.h"

namespace vistrel::gallery {

RgbImage halvePicture(const RgbImage& picture) {
  RgbImage half((picture.width + 1) / 2, (picture.height + 1) / 2);
  for (int y = 0; y < half.height; ++y) {
    const int y0 = 2 * y, y1 = std::min(y0 + 1, picture.height - 1);
    const int rows = y1 - y0 + 1;
    std::uint8_t* out = half.at(0, y);
    for (int x = 0; x < half.width; ++x) {
      const int x0 = 2 * x, x1 = std::min(x0 + 1, picture.width - 1);
      const int count = rows * (x1 - x0 + 1);
      const std::uint8_t *a = picture.at(x0, y0), *b = picture.at(x1, y0);
      const std::uint8_t *c = picture.at(x0, y1), *d = picture.at(x1, y1);
      for (int k = 0; k < 3; ++k, ++out) {
        // A short row or column appears twice in the sum; count it once.
        const int sum = count == 4 ? a[k] + b[k] + c[k] + d[k]
                        : count == 2 ? (x1 == x0 ? a[k] + c[k] : a[k] + b[k])
                                     : a[k];
        *out = static_cast<std::uint8_t>((sum + count / 2) / count);
      }
    }
  }
  return half;
}

SharedDecode::SharedDecode(ImageCodec& codec, std::filesystem::path file, const std::vector<int>& limits)
    : codec_(codec), file_(std::move(file)), size_(codec.headerSize(file_)), reduction_(3) {
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
  if (reduction == reduction_ || picture_.empty()) return picture_;
  RgbImage picture = halvePicture(picture_);
  for (int r = reduction_ + 1; r < reduction; ++r) picture = halvePicture(picture);
  return picture;
}

}  // namespace vistrel::gallery
