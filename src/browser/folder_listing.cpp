#include "browser/folder_listing.h"

#include "browser/image_types.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::browser {
namespace {

bool isListed(const platform::FolderEntry& entry, const ListingOptions& options) {
  if (entry.isFolder || (entry.hidden && !options.includeHidden)) return false;
  return options.allFiles || isImageFile(entry.path) || (options.includeEncrypted && isEncryptedFile(entry.path));
}

}  // namespace

std::string sizeText(std::uint64_t bytes) { return std::to_string((bytes + 1024) / 1024) + " KB"; }

std::string fileDateText(platform::SystemTime time) { return platform::dateTimeText(platform::toLocal(time)); }

std::vector<ListedFile> listFolderFiles(const std::filesystem::path& folder, const ListingOptions& options) {
  std::vector<platform::FolderEntry> entries;
  try {
    entries = platform::listFolder(folder);
  } catch (const Error&) {
    return {};
  }
  std::vector<ListedFile> files;
  for (const auto& entry : entries) {
    if (!isListed(entry, options)) continue;
    files.push_back({entry.path, platform::displayName(entry.path.filename()), entry.size, entry.lastWrite,
                     sizeText(entry.size), fileDateText(entry.lastWrite)});
  }
  return files;
}

}  // namespace vistrel::browser
