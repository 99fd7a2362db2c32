#pragma once

#include "gallery/metadata_source.h"

namespace vistrel::gallery {

// The metadata of source files as the metadata subsystem reads them: the
// folder's descriptions, IPTC datasets, EXIF caption values and the EXIF copy.
class FileMetadata : public MetadataSource {
 public:
  std::string description(const std::filesystem::path& file) override;
  std::string iptcValue(const std::filesystem::path& file, std::string_view dataset) override;
  std::optional<ExifTexts> exif(const std::filesystem::path& file) override;
  std::optional<std::string> withExifOf(const std::filesystem::path& source, const std::string& jpeg) override;
};

}  // namespace vistrel::gallery
