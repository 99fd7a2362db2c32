#pragma once

#include <map>
#include <string>

#include "gallery/metadata_source.h"
#include "platform/error.h"

namespace vistrel::gallery {

// Metadata keyed by file name; files not named have none.
class FakeMetadata : public MetadataSource {
 public:
  std::map<std::string, std::string> descriptions;
  std::map<std::string, std::map<std::string, std::string>> iptc;
  std::map<std::string, ExifTexts> exifs;
  std::map<std::string, int> orientations;
  bool failExif = false;
  int exifReads = 0;

  std::string description(const std::filesystem::path& file) override {
    return valueOf(descriptions, file);
  }
  std::string iptcValue(const std::filesystem::path& file, std::string_view dataset) override {
    const auto found = iptc.find(file.filename().string());
    if (found == iptc.end()) return {};
    const auto value = found->second.find(std::string(dataset));
    return value == found->second.end() ? std::string() : value->second;
  }
  std::optional<ExifTexts> exif(const std::filesystem::path& file) override {
    ++exifReads;
    if (failExif) throw Error("damaged EXIF block");
    const auto found = exifs.find(file.filename().string());
    if (found == exifs.end()) return std::nullopt;
    return found->second;
  }
  int orientation(const std::filesystem::path& file) override {
    const auto found = orientations.find(file.filename().string());
    return found == orientations.end() ? 1 : found->second;
  }
  std::optional<std::string> withExifOf(const std::filesystem::path& source, const std::string& jpeg) override {
    if (!exifs.count(source.filename().string())) return std::nullopt;
    return jpeg + "+exif";
  }

 private:
  static std::string valueOf(const std::map<std::string, std::string>& map,
                             const std::filesystem::path& file) {
    const auto found = map.find(file.filename().string());
    return found == map.end() ? std::string() : found->second;
  }
};

}  // namespace vistrel::gallery
