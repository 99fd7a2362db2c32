#include "support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace vistrel::test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vistrel-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests make files read-only; give the owner write access back before removing.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::write(const std::string& name, const std::string& content) const {
  const std::filesystem::path file = path_ / name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

IsolatedUser::IsolatedUser() : home_(folder_ / "home"), config_(folder_ / "config") {
  ::setenv("VISTREL_HOME", home_.c_str(), 1);
  ::setenv("VISTREL_CONFIG_DIR", config_.c_str(), 1);
}

IsolatedUser::~IsolatedUser() {
  ::unsetenv("VISTREL_HOME");
  ::unsetenv("VISTREL_CONFIG_DIR");
}

}  // namespace vistrel::test
