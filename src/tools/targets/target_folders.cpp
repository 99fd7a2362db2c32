#include "tools/targets/target_folders.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::targets {
namespace {

namespace fs = std::filesystem;

std::string keyPath() { return std::string(platform::kProgramKey) + "\\TargetFolders"; }

bool isFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

}  // namespace

TargetFolders TargetFolders::read(platform::SettingsStore& store) {
  TargetFolders folders;
  const auto key = store.openKey(keyPath(), false);
  if (!key) return folders;
  for (const std::string& name : key->valueNames()) {
    try {
      folders.names.push_back(key->readString(name));
    } catch (const platform::SettingsError&) {
      // A value of another type is no folder.
    }
  }
  return folders;
}

void TargetFolders::write(platform::SettingsStore& store) const {
  store.deleteKey(keyPath());
  auto key = store.openKey(keyPath(), true);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!names[i].empty()) key->writeString("DestStr" + std::to_string(i), names[i]);
  }
  store.flush();
}

void TargetFolders::add(const std::string& folder) {
  if (std::find(names.begin(), names.end(), folder) == names.end()) names.push_back(folder);
}

std::string folderText(std::string typed) {
  while (typed.size() > 1 && typed.back() == '/') typed.pop_back();
  return typed;
}

std::optional<fs::path> acceptDestination(const std::string& typed, platform::Prompter& prompter) {
  const fs::path folder = folderText(typed);
  if (!folder.is_absolute()) {
    prompter.error("Type the whole path of the folder, from \"/\" on.", "Target folder");
    return std::nullopt;
  }
  if (isFolder(folder)) return folder;
  if (prompter.ask("The specified folder does not exist.\r\n\r\nDo you want to create it?", "Create folder",
                   platform::Buttons::YesNo, platform::Icon::Question) != platform::Answer::Yes) {
    return std::nullopt;
  }
  try {
    platform::createFolders(folder);
  } catch (const Error&) {
    // Said below, in the words of the program.
  }
  if (isFolder(folder)) return folder;
  prompter.error("Unable to create folder. Operation aborted.", "Failed to create folder");
  return std::nullopt;
}

}  // namespace vistrel::targets
