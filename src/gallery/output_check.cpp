#include "gallery/output_check.h"

#include <map>
#include <set>

#include "gallery/gallery_files.h"
#include "platform/files.h"

namespace vistrel::gallery {
namespace {

class OutputChecker {
 public:
  OutputChecker(const GallerySettings& s, const std::vector<GalleryPhoto>& photos) : target_(platform::resolvedPath(targetFolder(s))) {
    for (const GalleryPhoto& photo : photos) sources_[platform::resolvedPath(photo.source)] = photo.source;
  }

  // `own` is the photo's own source, which a copy of it may be (the copy is then not made).
  void check(const fs::path& output, const fs::path& own = {}) {
    if (!refusal_.empty()) return;
    // The file itself is replaced, never followed: only its folder is resolved.
    auto folder = folders_.find(output.parent_path());
    if (folder == folders_.end()) folder = folders_.emplace(output.parent_path(), platform::resolvedPath(output.parent_path())).first;
    const fs::path path = folder->second / output.filename();
    if (!platform::liesInside(path, target_)) {
      refusal_ = "The gallery would write " + path.string() + " outside the target folder " + target_.string() +
                 ". Operation aborted.";
    } else if (!outputs_.insert(path).second) {
      refusal_ = "Two files of the gallery would have the same name, " + path.string() +
                 ". Choose other prefixes or folders. Operation aborted.";
    } else if (const auto source = sources_.find(path); source != sources_.end() && source->second != own) {
      refusal_ = "The gallery would replace the photo " + source->second.string() +
                 ". Choose another target folder or prefix. Operation aborted.";
    }
  }
  const std::string& refusal() const { return refusal_; }

 private:
  fs::path target_;
  std::map<fs::path, fs::path> sources_;  // resolved → as listed
  std::map<fs::path, fs::path> folders_;  // as written → resolved
  std::set<fs::path> outputs_;
  std::string refusal_;
};

}  // namespace

std::string outputRefusal(const GallerySettings& s, const std::vector<GalleryPhoto>& photos) {
  OutputChecker checker(s, photos);
  for (const GalleryFile& file : galleryFiles(s, photos)) {
    if (!(file.image && s.HTMLOnly)) checker.check(file.path, file.own);
  }
  return checker.refusal();
}

}  // namespace vistrel::gallery
