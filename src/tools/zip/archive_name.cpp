#include "tools/zip/archive_name.h"

#include "platform/files.h"

namespace vistrel::zip {

std::filesystem::path archivePath(std::string_view typed) {
  std::filesystem::path path{std::string(typed)};
  if (platform::lowerExtension(path) != ".zip") path += ".zip";
  return path;
}

}  // namespace vistrel::zip
