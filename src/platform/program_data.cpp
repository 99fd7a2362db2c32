#include "platform/program_data.h"

#include <QStandardPaths>
#include <cstdlib>
#include <string>

#include "platform/files.h"

namespace vistrel::platform {
namespace {

std::filesystem::path environmentPath(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

// An XDG base folder: the variable when set, else the given folder under $HOME.
std::filesystem::path xdgFolder(const char* variable, const char* underHome) {
  if (auto path = environmentPath(variable); !path.empty()) return path;
  if (auto home = environmentPath("HOME"); !home.empty()) return home / underHome;
  return std::filesystem::temp_directory_path() / underHome;
}

constexpr const char* kSeededFolders[] = {"css", "gifs", "IPTCTemplates"};

void seed(const std::filesystem::path& target, const std::filesystem::path& source) {
  createFolders(target);
  std::error_code ec;
  if (!std::filesystem::is_directory(source, ec)) return;
  for (const FolderEntry& entry : listFolder(source)) {
    if (!entry.isFolder) copyFile(entry.path, target / entry.path.filename(), IfExists::Keep);
  }
}

}  // namespace

std::filesystem::path programFile() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec);
}

std::filesystem::path resourceFolder() {
  const std::filesystem::path folder = programFile().parent_path();
  std::error_code ec;
  if (std::filesystem::is_directory(folder / "resources", ec)) return folder / "resources";
  return folder.parent_path() / "share" / "vistrel" / "resources";
}

std::filesystem::path programDataFolder() {
  if (auto home = environmentPath("VISTREL_HOME"); !home.empty()) return home;
  return xdgFolder("XDG_DATA_HOME", ".local/share") / "vistrel";
}

std::filesystem::path ensureProgramData() {
  const std::filesystem::path folder = programDataFolder();
  createFolders(folder);
  const std::filesystem::path resources = resourceFolder();
  std::error_code ec;
  for (const char* name : kSeededFolders) {
    // Seed only folders that do not exist, so that files the user removed stay removed.
    if (!std::filesystem::exists(folder / name, ec)) seed(folder / name, resources / name);
  }
  return folder;
}

std::filesystem::path picturesFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  return folder.isEmpty() ? xdgFolder("HOME", "") / "Pictures" : std::filesystem::path(folder.toStdString());
}

std::filesystem::path configFolder() {
  if (auto dir = environmentPath("VISTREL_CONFIG_DIR"); !dir.empty()) return dir;
  return xdgFolder("XDG_CONFIG_HOME", ".config") / "vistrel";
}

}  // namespace vistrel::platform
