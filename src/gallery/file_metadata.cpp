#include "gallery/file_metadata.h"

#include "metadata/descriptions.h"
#include "metadata/img_data.h"
#include "metadata/summaries.h"
#include "platform/text.h"

namespace vistrel::gallery {

namespace fs = std::filesystem;

std::string FileMetadata::description(const fs::path& file) {
  const fs::path folder = file.parent_path();
  const fs::path list = folder / metadata::kDescriptionFileName;
  std::error_code ec;
  // Only a regular file is read: a pipe of that name would block the run.
  if (!fs::is_regular_file(list, ec)) return {};
  const auto time = fs::last_write_time(list, ec);
  const auto size = fs::file_size(list, ec);
  const std::lock_guard lock(mutex_);
  auto cached = folders_.find(folder);
  if (cached == folders_.end() || cached->second.time != time || cached->second.size != size) {
    cached = folders_.insert_or_assign(folder, Descriptions{time, size, metadata::FolderDescriptions(folder)}).first;
  }
  const auto found = cached->second.byName.find(platform::displayName(file.filename()));
  return found == cached->second.byName.end() ? std::string() : found->second;
}

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
