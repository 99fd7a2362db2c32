#include "gallery/source_types.h"

#include "platform/files.h"

namespace vistrel::gallery {

bool isPhotoshopSource(const std::filesystem::path& source) { return platform::lowerExtension(source) == ".psd"; }

bool carriesExifCopy(const std::filesystem::path& source) { return platform::lowerExtension(source) == ".jpg"; }

}  // namespace vistrel::gallery
