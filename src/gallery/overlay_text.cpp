#include "gallery/overlay_text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <mutex>
#include <vector>

#include "platform/error.h"

namespace vistrel::gallery {
namespace {

// The file of the best installed match for a family name.
std::pair<std::string, int> queryFontconfig(const std::string& family) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::pair<std::string, int> found;
  FcChar8* file = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    found.first = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &found.second);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return found;
}

// Loading fontconfig's configuration costs milliseconds, more than drawing
// the text, and every gallery image asks for the same family: each family is
// looked up once per process.
std::pair<std::string, int> matchFont(const std::string& family) {
  static std::mutex mutex;
  static std::map<std::string, std::pair<std::string, int>> matches;
  const std::lock_guard lock(mutex);
  auto known = matches.find(family);
  if (known == matches.end()) {
    auto found = queryFontconfig(family);
    if (found.first.empty()) throw Error("No font found for \"" + family + "\"");
    known = matches.emplace(family, std::move(found)).first;
  }
  return known->second;
}

// UTF-8 to code points; a broken sequence gives U+FFFD for its first byte.
std::vector<char32_t> codePoints(const std::string& text) {
  std::vector<char32_t> result;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const int length = byte < 0x80 ? 1 : (byte >> 5) == 6 ? 2 : (byte >> 4) == 14 ? 3 : (byte >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
      result.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = length == 1 ? byte : byte & (0x7F >> length);
    for (int k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    result.push_back(cp);
    i += static_cast<std::size_t>(length);
  }
  return result;
}

void blend(RgbImage& image, int x, int y, std::uint32_t color, int alpha) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height || alpha == 0) return;
  std::uint8_t* p = image.at(x, y);
  const int channel[3] = {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                          static_cast<int>((color >> 16) & 0xFF)};
  for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] + (channel[c] - p[c]) * alpha / 255);
}

}  // namespace

struct OverlayFont::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

OverlayFont::OverlayFont(const std::string& family, int points) : face_(std::make_unique<Face>()) {
  const auto [file, index] = matchFont(family);
  if (FT_Init_FreeType(&face_->library) != 0 ||
      FT_New_Face(face_->library, file.c_str(), index, &face_->face) != 0) {
    throw Error("Cannot open the font " + file);
  }
  // Points at the 96 pixels per inch the pictures are meant for.
  FT_Set_Char_Size(face_->face, 0, static_cast<FT_F26Dot6>(points) * 64, 96, 96);
}

OverlayFont::~OverlayFont() = default;

int OverlayFont::textWidth(const std::string& text) {
  long width = 0;
  for (const char32_t cp : codePoints(text)) {
    if (FT_Load_Char(face_->face, cp, FT_LOAD_DEFAULT) == 0) width += face_->face->glyph->advance.x;
  }
  return static_cast<int>((width + 63) >> 6);
}

int OverlayFont::lineHeight() const {
  const auto& metrics = face_->face->size->metrics;
  return static_cast<int>((metrics.ascender - metrics.descender + 63) >> 6);
}

void OverlayFont::draw(RgbImage& image, const std::string& text, int x, int y, bool rotated,
                       std::uint32_t color) {
  const int ascent = static_cast<int>((face_->face->size->metrics.ascender + 63) >> 6);
  long pen = 0;  // 26.6 along the text
  for (const char32_t cp : codePoints(text)) {
    if (FT_Load_Char(face_->face, cp, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = face_->face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int left = static_cast<int>(pen >> 6) + glyph->bitmap_left;
    const int top = ascent - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const int alpha = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col];
        const int along = left + static_cast<int>(col), across = top + static_cast<int>(row);
        if (rotated) {
          blend(image, x - 1 - across, y + along, color, alpha);
        } else {
          blend(image, x + along, y + across, color, alpha);
        }
      }
    }
    pen += glyph->advance.x;
  }
}

}  // namespace vistrel::gallery
