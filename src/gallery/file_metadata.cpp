#include "gallery/file_metadata.h"

#include "metadata/descriptions.h"
#include "metadata/img_data.h"
#include "metadata/summaries.h"

namespace vistrel::gallery {

std::string FileMetadata::description(const std::filesystem::path& file) { return metadata::DescriptionOf(file); }

std::string FileMetadata::iptcValue(const std::filesystem::path& file, std::string_view dataset) {
  return metadata::IptcValueOfFile(file, dataset);
}

std::optional<ExifTexts> FileMetadata::exif(const std::filesystem::path& file) {
  return metadata::ExifCaptionValuesOf(file);
}

std::optional<std::string> FileMetadata::withExifOf(const std::filesystem::path& source, const std::string& jpeg) {
  metadata::TimgData data;
  if (!data.ReadMetadata(source) || !data.HasExifBlock()) return std::nullopt;
  return data.JpegWithMetadata(jpeg, true);
}

}  // namespace vistrel::gallery
