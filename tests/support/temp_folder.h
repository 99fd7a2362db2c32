#pragma once

#include <filesystem>
#include <string>

namespace vistrel::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Writes a file (creating its folders) and returns its path.
  std::filesystem::path write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// Points VISTREL_HOME and VISTREL_CONFIG_DIR into a temporary folder for the
// lifetime of the object, so that tests never touch the user's own settings.
class IsolatedUser {
 public:
  IsolatedUser();
  ~IsolatedUser();
  const std::filesystem::path& home() const { return home_; }
  const std::filesystem::path& config() const { return config_; }

 private:
  TempFolder folder_;
  std::filesystem::path home_;
  std::filesystem::path config_;
};

}  // namespace vistrel::test
