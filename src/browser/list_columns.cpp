#include "browser/list_columns.h"

#include "imaging/image_file.h"
#include "metadata/summaries.h"
#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::browser {

std::string propertiesText(const std::filesystem::path& file) {
  try {
    const imaging::ImageHeader header = imaging::ReadImageHeader(file);
    if (header.width <= 0) return {};
    std::string text = std::to_string(header.width) + "x" + std::to_string(header.height);
    if (platform::lowerExtension(file) != ".psd") text += "x" + std::to_string(header.bitsPerPixel) + "b";
    return text;
  } catch (const Error&) {
    return {};
  }
}

bool hasIptcColumn(const std::filesystem::path& file) {
  const std::string extension = platform::lowerExtension(file);
  return extension == ".jpg" || extension == ".jpeg" || extension == ".tif";
}

std::string iptcColumnText(const std::filesystem::path& file) {
  if (!hasIptcColumn(file)) return {};
  try {
    return metadata::IptcValueOfFile(file, "ImageCaption");
  } catch (const Error&) {
    return {};
  }
}

}  // namespace vistrel::browser
