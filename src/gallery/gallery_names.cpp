#include "gallery/gallery_names.h"

#include <algorithm>
#include <set>

#include "platform/files.h"

namespace vistrel::gallery {
namespace {

std::string inSubfolder(const GallerySettings& s, const std::string& folder, const std::string& name) {
  if (!s.UseSubfolders) return name;
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

std::string safeStem(const fs::path& source) { return platform::safeNameComponent(source.stem().string(), "photo"); }

std::string safeFileName(const fs::path& source) {
  return platform::safeNameComponent(source.filename().string(), "photo");
}

// Names made distinct in list order. `split` gives the part a suffix follows
// and the part after it; `reserved` are names no photo may take.
template <typename Split>
std::vector<std::string> distinctNames(const std::vector<std::string>& names, const std::set<std::string>& reserved,
                                       Split split) {
  std::set<std::string> taken(names.begin(), names.end());
  taken.insert(reserved.begin(), reserved.end());
  std::set<std::string> used;
  std::vector<std::string> result;
  for (const std::string& name : names) {
    std::string chosen = name;
    if (reserved.count(name) || !used.insert(name).second) {
      const auto [base, rest] = split(name);
      for (int k = 2; taken.count(chosen = base + "_" + std::to_string(k) + rest); ++k) {
      }
      taken.insert(chosen);
    }
    result.push_back(chosen);
  }
  return result;
}

}  // namespace

GalleryPhoto::GalleryPhoto(fs::path file) : source(std::move(file)), stem(safeStem(source)), copyName(safeFileName(source)) {}

std::vector<GalleryPhoto> galleryPhotos(const GallerySettings& s, const std::vector<fs::path>& sources) {
  std::vector<std::string> stems, copies;
  for (const fs::path& source : sources) {
    stems.push_back(safeStem(source));
    copies.push_back(safeFileName(source));
  }
  // An image page named like an index page would replace it.
  std::set<std::string> indexStems;
  const std::string extension = s.fileExtensionText();
  for (int page = 1; page <= indexPageCount(s, sources.size()); ++page) {
    const std::string name = indexPageName(s, page);
    indexStems.insert(name.substr(0, name.size() - extension.size()));
  }
  stems = distinctNames(stems, indexStems, [](const std::string& n) { return std::pair{n, std::string()}; });
  copies = distinctNames(copies, {}, [](const std::string& n) {
    const fs::path name(n);
    return std::pair{name.stem().string(), name.extension().string()};
  });
  std::vector<GalleryPhoto> photos;
  for (std::size_t i = 0; i < sources.size(); ++i) photos.emplace_back(sources[i], stems[i], copies[i]);
  return photos;
}

fs::path targetFolder(const GallerySettings& s) { return fs::path(s.TargetFolder); }

fs::path thumbnailFolder(const GallerySettings& s) {
  return s.UseSubfolders ? targetFolder(s) / s.ThumbFolder : targetFolder(s);
}

fs::path imageFolder(const GallerySettings& s) {
  return s.UseSubfolders ? targetFolder(s) / s.ImageFolder : targetFolder(s);
}

void makeOutputNamesSafe(GallerySettings& s) {
  s.Filename = platform::safeNameComponent(s.Filename, "index");
  if (!s.ThumbPrefix.empty()) s.ThumbPrefix = platform::safeNameComponent(s.ThumbPrefix, "thumb_");
  if (!s.MediumPrefix.empty()) s.MediumPrefix = platform::safeNameComponent(s.MediumPrefix, "medium_");
  // A trailing "/" names the folder itself, not an empty name after it.
  const auto folderName = [](std::string name, const char* fallback) {
    while (name.ends_with('/') || name.ends_with('\\')) name.pop_back();
    return platform::safeNameComponent(name, fallback);
  };
  s.ThumbFolder = folderName(s.ThumbFolder, "thumbnails");
  s.ImageFolder = folderName(s.ImageFolder, "images");
}

std::string indexPageName(const GallerySettings& s, int page) {
  std::string base = s.Filename;
  std::replace(base.begin(), base.end(), ' ', '_');
  return base + (page > 1 ? std::to_string(page) : std::string()) + s.fileExtensionText();
}

int indexPageCount(const GallerySettings& s, std::size_t entries) {
  const auto perPage = static_cast<std::size_t>(s.Cols * s.Rows);
  return static_cast<int>((entries + perPage - 1) / perPage);
}

std::string imagePageName(const GallerySettings& s, const GalleryPhoto& photo) {
  return photo.stem + s.fileExtensionText();
}

int indexPageOf(const GallerySettings& s, std::size_t entry) {
  return static_cast<int>(entry / static_cast<std::size_t>(s.Cols * s.Rows)) + 1;
}

std::string thumbnailName(const GallerySettings& s, const GalleryPhoto& photo) {
  return s.ThumbPrefix + photo.stem + ".jpg";
}

std::string mediumName(const GallerySettings& s, const GalleryPhoto& photo) {
  return s.MediumPrefix + photo.stem + ".jpg";
}

std::string thumbnailReference(const GallerySettings& s, const GalleryPhoto& photo) {
  return inSubfolder(s, s.ThumbFolder, thumbnailName(s, photo));
}

std::string pictureReference(const GallerySettings& s, const GalleryPhoto& photo) {
  const std::string name = s.linkMode == LinkMode::MediumFormat ? mediumName(s, photo) : photo.copyName;
  return inSubfolder(s, s.ImageFolder, name);
}

std::string linkTarget(const GallerySettings& s, const GalleryPhoto& photo) {
  if (s.writesImagePages()) return imagePageName(s, photo);
  switch (s.linkMode) {
    case LinkMode::CopyOriginal: return inSubfolder(s, s.ImageFolder, photo.copyName);
    case LinkMode::InclLink: return photo.source.string();
    case LinkMode::MediumFormat: return inSubfolder(s, s.ImageFolder, mediumName(s, photo));
    case LinkMode::DontLink:
    case LinkMode::None: break;
  }
  return {};
}

}  // namespace vistrel::gallery
