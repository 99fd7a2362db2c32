#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gallery/image_codec.h"

namespace vistrel::gallery {

// An antialiased font for the overlay text. A family that is not installed
// (like "Tahoma") falls back to what fontconfig finds for it, a sans font.
class OverlayFont {
 public:
  OverlayFont(const std::string& family, int points);  // throws Error when no font is found
  ~OverlayFont();
  OverlayFont(const OverlayFont&) = delete;
  OverlayFont& operator=(const OverlayFont&) = delete;

  int textWidth(const std::string& text);
  // The height of a line of text (ascent plus descent).
  int lineHeight() const;
  // Draws with the reference corner (top-left in text direction) at x, y;
  // rotated text runs downwards with the letters' tops to the right.
  void draw(RgbImage& image, const std::string& text, int x, int y, bool rotated, std::uint32_t color);

 private:
  struct Face;
  std::unique_ptr<Face> face_;
};

}  // namespace vistrel::gallery
