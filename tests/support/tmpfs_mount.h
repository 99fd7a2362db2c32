#pragma once

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace vistrel::test {

// A small tmpfs mounted on a fresh folder, for moves across file systems;
// unmounted when the object goes. Mounting needs root: where it fails,
// mounted() is false and reason() says why, for the test to skip with.
class TmpfsMount {
 public:
  TmpfsMount();
  ~TmpfsMount();
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& reason() const { return reason_; }
  const std::filesystem::path& path() const { return folder_.path(); }
  std::filesystem::path operator/(const std::string& name) const { return folder_ / name; }
  std::filesystem::path write(const std::string& name, const std::string& content) const {
    return folder_.write(name, content);
  }

 private:
  TempFolder folder_;
  bool mounted_ = false;
  std::string reason_;
};

}  // namespace vistrel::test
