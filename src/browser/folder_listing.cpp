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

ListedFile rowOf(const std::filesystem::path& path, std::uint64_t size, platform::SystemTime lastWrite) {
  return {path, platform::displayName(path.filename()), size, lastWrite, sizeText(size)};
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
    files.push_back(rowOf(entry.path, entry.size, entry.lastWrite));
  }
  return files;
}

ListedFile listedFile(const std::filesystem::path& file) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) throw Error("Cannot read " + file.string() + ": " + ec.message());
  return rowOf(file, size, platform::lastWriteTime(file));
}

}  // namespace vistrel::browser
