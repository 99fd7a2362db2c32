#pragma once

#include <filesystem>
#include <string>

#include "gallery/metadata_source.h"

namespace vistrel::gallery {

// Where an expanded caption goes: drawn into a picture (plain text) or into a
// page (HTML).
enum class CaptionVariant { Overlay, IndexCell, ImagePage };

struct CaptionStyle {
  std::string fontOpen;  // the page's font-open text (empty in CSS-only mode)
  bool useCss = false;   // wrap the values in classed divisions
};

// Replaces the placeholders of `format` by facts about `source`, step by step
// in a fixed order; each step also acts on what earlier steps inserted.
std::string expandCaption(std::string format, const std::filesystem::path& source,
                          CaptionVariant variant, const CaptionStyle& style, MetadataSource& metadata);

}  // namespace vistrel::gallery
