#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "metadata/summaries.h"

namespace vistrel::gallery {

// The EXIF texts the captions can show, as the metadata summaries give them.
using ExifTexts = metadata::ExifCaptionValues;

// What the gallery needs to know about a source file beyond its directory
// entry. The metadata subsystem answers; tests use a fake.
class MetadataSource {
 public:
  virtual ~MetadataSource() = default;

  // The file's description, empty when it has none.
  virtual std::string description(const std::filesystem::path& file) = 0;
  // An IPTC dataset by name ("ImageCaption" ...), empty when missing.
  virtual std::string iptcValue(const std::filesystem::path& file, std::string_view dataset) = 0;
  // Nothing when the file holds no EXIF block; throws Error when it cannot be read.
  virtual std::optional<ExifTexts> exif(const std::filesystem::path& file) = 0;
  // The encoded JPEG with the source's metadata put in and its stored image
  // size set to the JPEG's own; nothing when the source has no EXIF block.
  // Throws Error when that fails.
  virtual std::optional<std::string> withExifOf(const std::filesystem::path& source,
                                                const std::string& jpeg) = 0;
  // How the camera was held: the EXIF Orientation (1 to 8), 1 when the file
  // says nothing valid.
  virtual int orientation(const std::filesystem::path& file) = 0;
};

// Knows nothing: for runs that must not read metadata.
class NoMetadata : public MetadataSource {
 public:
  std::string description(const std::filesystem::path&) override { return {}; }
  std::string iptcValue(const std::filesystem::path&, std::string_view) override { return {}; }
  std::optional<ExifTexts> exif(const std::filesystem::path&) override { return std::nullopt; }
  std::optional<std::string> withExifOf(const std::filesystem::path&, const std::string&) override {
    return std::nullopt;
  }
  int orientation(const std::filesystem::path&) override { return 1; }
};

}  // namespace vistrel::gallery
