#include "gallery/run_file_list.h"

#include <map>
#include <set>

#include "gallery/gallery_names.h"
#include "gallery/source_types.h"
#include "platform/files.h"
#include "platform/output_manifest.h"
#include "platform/text.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

// Tells the outputs of galleries from photos.
class GalleryOutputs {
 public:
  explicit GalleryOutputs(const GallerySettings& s)
      : s_(s),
        thumbnails_(platform::resolvedPath(thumbnailFolder(s))),
        images_(platform::resolvedPath(imageFolder(s))) {}

  bool contains(const fs::path& file) {
    const fs::path folder = file.parent_path();
    const std::string name = file.filename().string();
    if (manifest(folder).count(name) || manifest(folder.parent_path()).count(folder.filename().string() + "/" + name)) {
      return true;
    }
    if (platform::lowerExtension(file) != ".jpg") return false;
    auto resolved = folders_.find(folder);
    if (resolved == folders_.end()) resolved = folders_.emplace(folder, platform::resolvedPath(folder)).first;
    const fs::path& real = resolved->second;
    return (real == thumbnails_ && hasPrefix(name, s_.ThumbPrefix)) ||
           (real == images_ && hasPrefix(name, s_.MediumPrefix));
  }

 private:
  static bool hasPrefix(const std::string& name, const std::string& prefix) {
    return !prefix.empty() && name.starts_with(prefix);
  }
  const std::set<std::string>& manifest(const fs::path& folder) {
    auto found = manifests_.find(folder);
    if (found == manifests_.end()) found = manifests_.emplace(folder, platform::readOutputManifest(folder)).first;
    return found->second;
  }

  const GallerySettings& s_;
  fs::path thumbnails_;
  fs::path images_;
  std::map<fs::path, std::set<std::string>> manifests_;
  std::map<fs::path, fs::path> folders_;  // as listed → resolved
};

// Why the file cannot be a photo, or empty when it may be one.
std::string problemOf(const fs::path& file, ImageCodec& codec) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (status.type() == fs::file_type::not_found) return "The file does not exist.";
  if (ec) return "The file cannot be read: " + ec.message();
  if (!fs::is_regular_file(status)) return "It is not a regular file (a folder, pipe, socket or device).";
  if (isPhotoshopSource(file) || codec.canOpen(file)) return {};
  return "It is not a picture the program can read.";
}

}  // namespace

RunFileList buildRunFileList(const std::vector<fs::path>& candidates, const GallerySettings& s, ImageCodec& codec) {
  RunFileList list;
  GalleryOutputs outputs(s);
  for (const fs::path& file : candidates) {
    if (file.empty() || outputs.contains(file)) continue;
    if (std::string problem = problemOf(file, codec); !problem.empty()) {
      list.leftOut.push_back({file, std::move(problem)});
    } else {
      list.files.push_back(file);
    }
  }
  return list;
}

}  // namespace vistrel::gallery
