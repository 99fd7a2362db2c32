#include "browser/cache_folder.h"

#include <fstream>

#include "browser/cache_location.h"
#include "browser/thumbnail_geometry.h"
#include "imaging/image_file.h"
#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::browser {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSignature = "Signature: 8a477f597d28d172789f06886806bc55";
constexpr const char* kOwner = "created by Vistrel";

std::string notOurs(const fs::path& root) {
  return root.string() +
         " is not a thumbnail cache folder of Vistrel: it holds other files and no \"" + kCacheMarker +
         "\" of ours, so they may be yours; none of them is deleted or replaced.\r\n\r\nChoose a new or empty folder "
         "as the cache folder (Options, \"Preview thumbnails\").";
}

void markCacheFolder(const fs::path& root) {
  platform::writeFileAtomically(root / kCacheMarker,
                                std::string(kSignature) + "\n# This file is a cache directory tag " + kOwner +
                                    " for its thumbnail cache.\n# Vistrel deletes only the pictures it wrote "
                                    "below this folder. See https://bford.info/cachedir/\n");
}

bool startsWithJpegMarker(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  char head[3] = {};
  return in.read(head, sizeof head) && head[0] == '\xFF' && head[1] == '\xD8' && head[2] == '\xFF';
}

}  // namespace

bool isOurCacheFolder(const fs::path& root) {
  std::ifstream in(root / kCacheMarker, std::ios::binary);
  std::string signature, comment;
  return std::getline(in, signature) && signature == kSignature && std::getline(in, comment) &&
         comment.find(kOwner) != std::string::npos;
}

void claimCacheFolder(const fs::path& root) {
  if (isOurCacheFolder(root)) return;
  std::error_code ec;
  if (!fs::exists(root, ec)) {
    platform::createFolders(root);
  } else if (!fs::is_directory(root, ec) || !fs::is_empty(root, ec) || ec) {
    throw Error(notOurs(root));
  }
  markCacheFolder(root);
}

void adoptCacheFolder(const fs::path& root) {
  std::error_code ec;
  if (fs::is_directory(root, ec) && !isOurCacheFolder(root)) markCacheFolder(root);
}

void refuseForeignFolder(const fs::path& root) {
  std::error_code ec;
  if (fs::exists(root, ec) && !isOurCacheFolder(root)) throw Error(notOurs(root));
}

bool isCachePicture(const fs::path& file) {
  std::error_code ec;
  const std::string name = file.filename().string();
  if (!fs::is_regular_file(fs::symlink_status(file, ec)) || name.starts_with('.') || name == kCacheMarker ||
      name == kOfflineMarker || !startsWithJpegMarker(file)) {
    return false;
  }
  try {
    const imaging::ImageHeader header = imaging::ReadImageHeader(file);
    return std::max(header.width, header.height) == kCachePictureSide;
  } catch (const Error&) {
    return false;
  }
}

bool isCacheEntry(const fs::path& file) {
  std::error_code ec;
  if (file.filename() == kOfflineMarker) return fs::is_regular_file(fs::symlink_status(file, ec));
  return isCachePicture(file);
}

}  // namespace vistrel::browser
