#include "browser/file_commands.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "metadata/descriptions.h"
#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::browser {
namespace fs = std::filesystem;

fs::path renameListedFile(const fs::path& file, const std::string& newName) {
  const fs::path target = file.parent_path() / newName;
  if (newName.find('/') != std::string::npos) throw Error("Cannot rename file: a file name cannot hold \"/\".");
  std::error_code ec;
  // rename() would silently replace another file of that name.
  if (!newName.empty() && fs::exists(fs::symlink_status(target, ec))) {
    throw Error("Cannot rename file: a file named \"" + platform::displayName(newName) + "\" already exists here.");
  }
  if (!newName.empty()) fs::rename(file, target, ec);
  if (newName.empty() || ec) {
    throw Error(
        "Cannot rename file: Access is denied.\r\rMake sure the disk is not full or write-protected\rand that the file "
        "is not currently in use.");
  }
  const std::string description = metadata::DescriptionOf(file);
  if (!description.empty()) metadata::SetDescription(target, description);
  metadata::PurgeDescriptions({file.parent_path()});
  return target;
}

namespace {

// Writes "x" over every byte of the open file and waits until it is on disk.
bool overwriteWithX(int fd, std::uint64_t length) {
  std::array<char, 65536> block;
  block.fill('x');
  for (std::uint64_t done = 0; done < length;) {
    const std::size_t chunk = std::size_t(std::min<std::uint64_t>(block.size(), length - done));
    const ssize_t written = ::write(fd, block.data(), chunk);
    if (written <= 0) return false;
    done += std::uint64_t(written);
  }
  return ::fsync(fd) == 0;
}

}  // namespace

void wipeFile(const fs::path& file) {
  const Error failure("Unable to delete " + file.string());
  std::error_code ec;
  const std::uintmax_t length = fs::file_size(file, ec);
  if (ec) throw failure;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) throw failure;
  const bool overwritten = overwriteWithX(fd, length);
  ::close(fd);
  // A file whose contents are still readable must not be reported as wiped.
  if (!overwritten || !fs::remove(file, ec) || ec) throw failure;
}

std::string namesForQuestion(const std::vector<fs::path>& files, std::size_t shown) {
  std::string text;
  for (std::size_t i = 0; i < files.size() && i < shown; ++i) {
    text += (i ? "\r\n" : "") + platform::displayName(files[i].filename());
  }
  if (files.size() > shown) text += "\r\n... and " + std::to_string(files.size() - shown) + " more";
  return text;
}

CacheSettings cacheSettingsOf(const options::ProgramOptions& options) {
  CacheSettings settings;
  settings.root = options.cacheFolder;
  settings.minFileSizeKB = options.cacheMinFileSize;
  settings.filter = imaging::ResampleFilter(std::clamp(options.cacheResampleFilter, 0, 6));
  settings.quality = options.cacheQuality;
  settings.sharpen = options.cacheSharpen;
  return settings;
}

}  // namespace vistrel::browser
