#include "gallery/imaging_codec.h"

#include "imaging/dib_filters.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "platform/error.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;
using imaging::TBitmap;

// The imaging core keeps blue, green, red; the gallery draws in red, green, blue.
RgbImage fromBitmap(const TBitmap& bitmap) {
  RgbImage image(bitmap.Width(), bitmap.Height());
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* in = bitmap.ScanLine(y);
    std::uint8_t* out = image.at(0, y);
    for (int x = 0; x < image.width; ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return image;
}

TBitmap toBitmap(const RgbImage& image) {
  TBitmap bitmap(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* in = image.at(0, y);
    std::uint8_t* out = bitmap.ScanLine(y);
    for (int x = 0; x < image.width; ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return bitmap;
}

}  // namespace

bool ImagingCodec::canOpen(const fs::path& file) {
  const ImageSize size = headerSize(file);
  return size.width > 0 && size.height > 0;
}

ImageSize ImagingCodec::headerSize(const fs::path& file) {
  try {
    const imaging::ImageHeader header = imaging::ReadImageHeader(file);
    return {header.width, header.height};
  } catch (const Error&) {
    return {};
  }
}

RgbImage ImagingCodec::load(const fs::path& file, int reduction) {
  return fromBitmap(imaging::LoadImageBitmap(file, reduction));
}

RgbImage ImagingCodec::scaleAndFilter(const RgbImage& source, int width, int height, const FilterSteps& steps) {
  // Every step treats the three channels alike, so the gallery's red-first
  // rows go through as they are, with no copy into a blue-first buffer. They
  // are walked from the last row up, as in the bottom-up buffers the steps
  // were made for: the resampler's grid and the in-place sharpening depend on it.
  RgbImage result(width, height);
  const imaging::PixelRows rows = imaging::bottomUpRows(result.pixels.data(), width, height, 3);
  imaging::ResampleBilinear(imaging::bottomUpRows(source.pixels.data(), source.width, source.height, 3), rows);
  if (steps.invert) imaging::InvertPixels(rows);
  if (steps.sharpen) imaging::SharpenCross(rows, *steps.sharpen);
  if (steps.contrast != 0) imaging::Contrast(rows, steps.contrast, steps.contrast, steps.contrast);
  if (steps.brightness != 0) imaging::Brightness(rows, steps.brightness, steps.brightness, steps.brightness);
  return result;
}

std::string ImagingCodec::encodeJpeg(const RgbImage& image, int quality) {
  const auto bytes = imaging::EncodeJpeg(toBitmap(image), quality, false);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace vistrel::gallery
