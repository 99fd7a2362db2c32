#pragma once

#include <string>
#include <vector>

#include "gallery/gallery_settings.h"

namespace vistrel::cli {

// Applies "--set [Section.]Key=Value": one field by its settings-file key, the
// section needed only where a key occurs twice. Multi-line texts are given as
// plain text. Throws UsageError for an unknown or ambiguous key.
void setSettingsField(gallery::GallerySettings& settings, const std::string& assignment,
                      const std::vector<std::string>& styleSheets);

}  // namespace vistrel::cli
