#include "gallery/imaging_codec.h"

#include "imaging/dib_filters.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "platform/error.h"

namespace vistrel::gallery {

namespace fs = std::filesystem;

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

RgbImage ImagingCodec::load(const fs::path& file, int reduction) { return imaging::DecodeImageFileRgb(file, reduction); }

std::uint64_t ImagingCodec::decodeMemory(const fs::path& file, ImageSize size, int reduction) {
  return imaging::DecodeMemory(file, size.width, size.height, reduction);
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
  if (steps.contrast != 0 || steps.brightness != 0) {
    // Both are one look-up per byte (and amount 0 is the identity table), so
    // one pass through the composed table does the two of them.
    const imaging::ChannelTable contrast = imaging::ContrastTable(steps.contrast);
    const imaging::ChannelTable brightness = imaging::BrightnessTable(steps.brightness);
    imaging::ChannelTable tones;
    for (std::size_t v = 0; v < tones.size(); ++v) tones[v] = brightness[contrast[v]];
    imaging::ApplyChannelTables(rows, tones, tones, tones);
  }
  return result;
}

std::string ImagingCodec::encodeJpeg(const RgbImage& image, int quality) {
  const auto bytes = imaging::EncodeJpeg(image, quality, false);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace vistrel::gallery
