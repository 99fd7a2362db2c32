#include "gallery/image_pipeline.h"

#include <cmath>

#include "gallery/captions.h"
#include "gallery/output_writer.h"
#include "gallery/overlay_text.h"
#include "gallery/source_types.h"
#include "imaging/exif_block.h"
#include "imaging/orientation.h"
#include "platform/error.h"
#include "platform/log.h"
#include "platform/version.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

// Ties go to the even neighbour, as the default rounding mode does.
int roundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

void setPixel(RgbImage& image, int x, int y, std::uint32_t color) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  std::uint8_t* p = image.at(x, y);
  p[0] = static_cast<std::uint8_t>(color & 0xFF);
  p[1] = static_cast<std::uint8_t>((color >> 8) & 0xFF);
  p[2] = static_cast<std::uint8_t>((color >> 16) & 0xFF);
}

struct Rect {
  int left, top, right, bottom;  // right and bottom exclusive
};

// A frame of `width` one-pixel rings, each drawn as two polylines that leave
// out their last point: top and left in one colour, right and bottom in the other.
void drawFrame(RgbImage& image, Rect& r, int width, std::uint32_t top, std::uint32_t bottom) {
  --r.right;
  --r.bottom;
  for (; width > 0; --width) {
    for (int y = r.bottom; y > r.top; --y) setPixel(image, r.left, y, top);
    for (int x = r.left; x < r.right; ++x) setPixel(image, x, r.top, top);
    for (int y = r.top; y < r.bottom; ++y) setPixel(image, r.right, y, bottom);
    for (int x = r.right; x > r.left - 1; --x) setPixel(image, x, r.bottom, bottom);
    ++r.left;
    ++r.top;
    --r.right;
    --r.bottom;
  }
  ++r.right;
  ++r.bottom;
}

// The text drawn over the picture; nothing without one.
std::optional<std::string> overlayText(const RunContext& run, const fs::path& source, OutputKind kind) {
  const GallerySettings& s = run.settings;
  const bool thumbnail = kind == OutputKind::Thumbnail;
  if (!(thumbnail ? s.UseOverlayText : s.UseMediumOverlay)) return std::nullopt;
  return expandCaption(thumbnail ? s.OverlayText : s.MediumOverlayText, source, CaptionVariant::Overlay, {},
                       run.metadata);
}

void drawOverlay(const RunContext& run, RgbImage& image, const fs::path& source, OutputKind kind) {
  const GallerySettings& s = run.settings;
  const auto overlay = overlayText(run, source, kind);
  if (!overlay) return;
  const std::string& text = *overlay;
  OverlayFont font(s.OverlayFont, s.FontSize);
  const TextPlacement at =
      placeOverlay(s.textPosition, s.Center, image.width, image.height, font.textWidth(text), font.lineHeight());
  if (s.InclDropShadow) font.draw(image, text, at.x + 1, at.y + 1, at.rotated, 0);
  font.draw(image, text, at.x, at.y, at.rotated, s.TextColor);
}

// The source loaded with the smallest reduction that still gives more pixels
// than the output needs, scaled to the output size and filtered.
RgbImage scaledPicture(const RunContext& run, ImageCodec& codec, const fs::path& source, OutputKind kind) {
  const GallerySettings& s = run.settings;
  const int limit = kind == OutputKind::Medium ? s.MediumSize : s.Maxsize;
  RgbImage loaded;
  ImageSize original;
  if (isPhotoshopSource(source)) {
    loaded = codec.load(source, 0);
    original = {loaded.width, loaded.height};
  } else {
    original = codec.headerSize(source);
    loaded = codec.load(source, chooseReduction(original.width, limit));
  }
  if (const int orientation = s.TurnUpright ? run.metadata.orientation(source) : 1; orientation > 1) {
    loaded = imaging::orientedPicture(loaded, orientation);
    if (imaging::OrientationSwapsSides(orientation)) std::swap(original.width, original.height);
  }
  const ImageSize size = outputSize(original, {loaded.width, loaded.height}, limit);
  if (loaded.empty() || size.width <= 0 || size.height <= 0) throw Error("The file holds no picture.");
  FilterSteps steps{s.Invert, std::nullopt, s.Contrast, s.Brightness};
  // Each kind has its own sharpening pair.
  if (kind == OutputKind::Thumbnail && s.Sharpen) steps.sharpen = s.SharpenValue;
  if (kind == OutputKind::Medium && s.SharpenMed) steps.sharpen = s.SharpenValueMed;
  return codec.scaleAndFilter(loaded, size.width, size.height, steps);
}

// The encoded picture with the source's EXIF block, or as it is when that
// cannot be done: the copy is a courtesy, never a reason to lose the image.
std::string withExif(const RunContext& run, const fs::path& source, const std::string& jpeg) {
  if (!run.settings.CopyExif || !carriesExifCopy(source)) return jpeg;
  try {
    std::string out = run.metadata.withExifOf(source, jpeg).value_or(jpeg);
    const std::span<std::uint8_t> exif = imaging::leadingExifPayload(out);
    // The pixels stand as the source's were stored: a copied Orientation
    // would have browsers turn them, out of the page's cell.
    imaging::resetExifOrientation(exif);
    if (run.settings.RemovePrivateExif) imaging::removePrivateExif(exif);
    return out;
  } catch (const std::exception& e) {
    log::warning(std::string("EXIF data not copied from ") + source.string() + ": " + e.what());
    return jpeg;
  }
}

// 64-bit FNV-1a: stable across builds, which the output manifest needs.
std::string digestOf(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

// Everything besides the source that the image's bytes depend on, each value
// ended by a tab; the program's version stands for its code.
std::string shapingText(const RunContext& run, const fs::path& source, OutputKind kind) {
  const GallerySettings& s = run.settings;
  const bool thumbnail = kind == OutputKind::Thumbnail;
  std::string text = platform::versionText() + "\t" + (thumbnail ? "thumbnail" : "medium") + "\t";
  const auto add = [&](const auto&... values) { ((text += std::to_string(values) + "\t"), ...); };
  add(thumbnail ? s.Maxsize : s.MediumSize, s.TurnUpright, s.Invert, s.Contrast, s.Brightness,
      thumbnail ? s.Sharpen : s.SharpenMed, thumbnail ? s.SharpenValue : s.SharpenValueMed, s.InclBorder,
      s.BorderValue, s.BorderColor, s.border3DEnabled(), s.JpegCompLevel, s.CopyExif && carriesExifCopy(source),
      s.RemovePrivateExif);
  if (const auto overlay = overlayText(run, source, kind)) {
    add(static_cast<int>(s.textPosition), s.Center, s.InclDropShadow, s.TextColor, s.FontSize);
    text += s.OverlayFont + "\t" + *overlay + "\t";
  }
  return text;
}

}  // namespace

int chooseReduction(int originalWidth, int limit) {
  if (originalWidth < limit) return 0;
  if (originalWidth > 32 * limit) return 3;
  if (originalWidth > 8 * limit) return 2;
  if (originalWidth > 2 * limit) return 1;
  return 0;
}

ImageSize outputSize(ImageSize original, ImageSize loaded, int limit) {
  const int w = loaded.width, h = loaded.height;
  if (w <= 0 || h <= 0) return {limit, 0};
  if (h < w) {
    if (original.width < limit) return original;
    return {limit, roundEven(static_cast<double>(limit) * h / w)};
  }
  if (original.height < limit) return original;
  return {roundEven(static_cast<double>(limit) * w / h), limit};
}

RgbImage addBorder(const RgbImage& image, int width, std::uint32_t color) {
  RgbImage framed(image.width + 2 * width, image.height + 2 * width);
  for (int y = 0; y < framed.height; ++y) {
    for (int x = 0; x < framed.width; ++x) setPixel(framed, x, y, color);
  }
  for (int y = 0; y < image.height; ++y) {
    std::copy_n(image.at(0, y), static_cast<std::size_t>(image.width) * 3, framed.at(width, y + width));
  }
  return framed;
}

void draw3DFrame(RgbImage& image, const FrameColors& colors) {
  Rect r{0, 0, image.width, image.height};
  drawFrame(image, r, 2, colors.light, colors.darkShadow);
  drawFrame(image, r, 2, colors.highlight, colors.shadow);
}

TextPlacement placeOverlay(TextPosition position, bool center, int width, int height, int textWidth,
                           int textHeight) {
  const int across = width / 2 - textWidth / 2;
  const int down = height / 2 - textWidth / 2;
  switch (position) {
    case TextPosition::TextLeft: return {textHeight, center ? down : 2, true};
    case TextPosition::TextRight: return {width, center ? down : 2, true};
    case TextPosition::TextTop: return {center ? across : 2, 2, false};
    case TextPosition::TextBottom: return {center ? across : 2, height - textHeight, false};
    case TextPosition::None: break;
  }
  return {};
}

fs::path outputPath(const GallerySettings& s, const GalleryPhoto& photo, OutputKind kind) {
  return kind == OutputKind::Thumbnail ? thumbnailFolder(s) / thumbnailName(s, photo)
                                       : imageFolder(s) / mediumName(s, photo);
}

std::optional<std::string> renderImage(const RunContext& run, ImageCodec& codec, const GalleryPhoto& photo,
                                       OutputKind kind) {
  if (run.cancelled()) return std::nullopt;
  const GallerySettings& s = run.settings;
  const fs::path& source = photo.source;
  RgbImage image = scaledPicture(run, codec, source, kind);
  if (s.InclBorder) image = addBorder(image, s.BorderValue, s.BorderColor);
  if (s.border3DEnabled()) draw3DFrame(image, {});
  drawOverlay(run, image, source, kind);
  return withExif(run, source, codec.encodeJpeg(image, s.JpegCompLevel));
}

ImageOrigin imageOrigin(const RunContext& run, const GalleryPhoto& photo, OutputKind kind) {
  return {platform::fileStamp(photo.source), digestOf(shapingText(run, photo.source, kind))};
}

bool keepsImage(const RunContext& run, const GalleryPhoto& photo, OutputKind kind, const ImageOrigin& origin) {
  return run.outputs.onlyChanged() && origin.sourceStamp &&
         run.outputs.upToDate(outputPath(run.settings, photo, kind), photo.source, *origin.sourceStamp, origin.digest);
}

void noteImage(const RunContext& run, const GalleryPhoto& photo, OutputKind kind, const ImageOrigin& origin) {
  run.outputs.wrote(outputPath(run.settings, photo, kind), photo.source, origin.sourceStamp, origin.digest);
}

bool commitImage(const RunContext& run, const GalleryPhoto& photo, OutputKind kind,
                 const std::optional<std::string>& file, const ImageOrigin& origin) {
  if (!file || run.cancelled()) return false;
  if (!writeOutput(run, outputPath(run.settings, photo, kind), *file, Existing::Ask)) return false;
  noteImage(run, photo, kind, origin);
  return true;
}

bool processImage(const RunContext& run, ImageCodec& codec, const GalleryPhoto& photo, OutputKind kind) {
  if (run.cancelled()) return false;
  const ImageOrigin origin = imageOrigin(run, photo, kind);
  return commitImage(run, photo, kind, renderImage(run, codec, photo, kind), origin);
}

}  // namespace vistrel::gallery
