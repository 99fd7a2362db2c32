#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "gallery/gallery_names.h"
#include "gallery/image_codec.h"
#include "gallery/run_context.h"
#include "platform/output_manifest.h"

namespace vistrel::gallery {

enum class OutputKind { Thumbnail, Medium };

// The load reduction for a source W0 wide and a size limit L: the largest
// that still delivers more than L, 2·L or 4·L pixels across.
int chooseReduction(int originalWidth, int limit);

// Scaled size: the longer side becomes the limit, the other follows the
// loaded picture's ratio; a source smaller than the limit keeps its size.
ImageSize outputSize(ImageSize original, ImageSize loaded, int limit);

// `width` pixels of colour 0x00BBGGRR on every side.
RgbImage addBorder(const RgbImage& image, int width, std::uint32_t color);

// The four roles of a raised 3D frame.
struct FrameColors {
  std::uint32_t light = 0x00E3E3E3;
  std::uint32_t darkShadow = 0x00696969;
  std::uint32_t highlight = 0x00FFFFFF;
  std::uint32_t shadow = 0x00A0A0A0;
};
void draw3DFrame(RgbImage& image, const FrameColors& colors);

struct TextPlacement {
  int x = 0;
  int y = 0;
  bool rotated = false;  // runs downwards, tops of the letters to the right
};
// Where the overlay text's reference corner goes on a W × H picture for a text
// TW wide and TH high.
TextPlacement placeOverlay(TextPosition position, bool center, int width, int height, int textWidth,
                           int textHeight);

std::filesystem::path outputPath(const GallerySettings& s, const GalleryPhoto& photo, OutputKind kind);

// The finished file of one thumbnail or medium image, EXIF included; nothing
// when cancelled. Throws Error with the reason when no picture comes out.
// Safe on any thread as long as the codec and metadata source are: it writes
// nothing and asks nothing.
std::optional<std::string> renderImage(const RunContext& run, ImageCodec& codec, const GalleryPhoto& photo,
                                       OutputKind kind);

// What an output image is made from besides its source's pixels: the
// source's stamp, taken before it is read, and a digest of the settings and
// texts that shape the image.
struct ImageOrigin {
  std::optional<platform::FileStamp> sourceStamp;
  std::string digest;
};
// Safe on any thread, as renderImage.
ImageOrigin imageOrigin(const RunContext& run, const GalleryPhoto& photo, OutputKind kind);
// Whether the run can keep the image an earlier run made: it only makes what
// changed, and neither the origin nor the file changed since.
bool keepsImage(const RunContext& run, const GalleryPhoto& photo, OutputKind kind, const ImageOrigin& origin);
// Notes the image, kept or written, as the run's own with its origin.
void noteImage(const RunContext& run, const GalleryPhoto& photo, OutputKind kind, const ImageOrigin& origin);

// Writes a rendered image on the run's own thread, where the overwrite
// question is asked. Returns false when it wrote nothing (cancelled, or the
// user kept the existing file).
bool commitImage(const RunContext& run, const GalleryPhoto& photo, OutputKind kind,
                 const std::optional<std::string>& file, const ImageOrigin& origin);

// Makes one thumbnail or medium image. Returns false when it wrote nothing;
// throws Error when the source holds no picture.
bool processImage(const RunContext& run, ImageCodec& codec, const GalleryPhoto& photo, OutputKind kind);

}  // namespace vistrel::gallery
