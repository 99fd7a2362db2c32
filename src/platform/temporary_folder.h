#pragma once

#include <filesystem>
#include <string_view>

namespace vistrel::platform {

// A fresh folder under the system's temporary folder that only this user can
// enter (mkdtemp makes it with mode 0700 under a name nobody could claim
// first). The folder goes, with everything in it, when the object goes: on
// every path, errors and cancelling included.
class TemporaryFolder {
 public:
  // The folder's name starts with the prefix. Throws Error.
  explicit TemporaryFolder(std::string_view prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vistrel::platform
