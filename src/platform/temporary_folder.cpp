#include "platform/temporary_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/error.h"
#include "platform/log.h"

namespace vistrel::platform {

TemporaryFolder::TemporaryFolder(std::string_view prefix) {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  std::string pattern = ((ec ? std::filesystem::path("/tmp") : base) / (std::string(prefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) {
    throw Error("Cannot create a temporary folder in " + base.string() + ": " + std::strerror(errno));
  }
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  if (ec) log::warning("Cannot remove the temporary folder " + path_.string() + ": " + ec.message());
}

}  // namespace vistrel::platform
