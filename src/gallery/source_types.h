#pragma once

#include <filesystem>

namespace vistrel::gallery {

// Photoshop files: the run takes them without the header check the other
// types pass, and decodes them whole, since their header size is not read.
bool isPhotoshopSource(const std::filesystem::path& source);

// Sources whose EXIF block the outputs carry when "Copy EXIF" is on: files
// named ".jpg" (in any case).
bool carriesExifCopy(const std::filesystem::path& source);

}  // namespace vistrel::gallery
