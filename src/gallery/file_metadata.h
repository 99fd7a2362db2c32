#pragma once

#include <filesystem>
#include <map>
#include <mutex>

#include "gallery/metadata_source.h"

namespace vistrel::gallery {

// The metadata of source files as the metadata subsystem reads them: the
// folder's descriptions, IPTC datasets, EXIF caption values and the EXIF copy.
// A folder's description file is read once and again only when its time or
// size changes: a run asks for every photo, and the file may be large. Safe
// to call from several threads.
class FileMetadata : public MetadataSource {
 public:
  std::string description(const std::filesystem::path& file) override;
  std::string iptcValue(const std::filesystem::path& file, std::string_view dataset) override;
  std::optional<ExifTexts> exif(const std::filesystem::path& file) override;
  std::optional<std::string> withExifOf(const std::filesystem::path& source, const std::string& jpeg) override;
  int orientation(const std::filesystem::path& file) override { return metadata::ExifOrientationOfFile(file); }

 private:
  struct Descriptions {
    std::filesystem::file_time_type time;
    std::uintmax_t size = 0;
    std::map<std::string, std::string> byName;
  };
  std::mutex mutex_;
  std::map<std::filesystem::path, Descriptions> folders_;
};

}  // namespace vistrel::gallery
