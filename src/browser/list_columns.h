#pragma once

#include <filesystem>
#include <string>

namespace vistrel::browser {

// The Properties column: width x height x depth ("640x480x24b"), only
// "640x480" for Photoshop files, whose header depth is not the picture's;
// empty when the file is not a picture that can be read.
std::string propertiesText(const std::filesystem::path& file);

// Whether the IPTC Caption column reads the file: the types that carry IPTC
// data (.jpg, .jpeg and .tif), the same rule for a new listing and for
// switching the column on.
bool hasIptcColumn(const std::filesystem::path& file);

// The IPTC Caption column: the file's "ImageCaption", empty when it has none or
// cannot be read.
std::string iptcColumnText(const std::filesystem::path& file);

}  // namespace vistrel::browser
