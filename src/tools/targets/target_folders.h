#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"
#include "platform/settings_store.h"

namespace vistrel::targets {

// The remembered destinations of "Copy to .." and "Move to ..", kept under
// "TargetFolders" in the program key as "DestStr0", "DestStr1" … in list
// order. Folder names keep their case: on Linux "Photos" and "photos" are two
// folders.
struct TargetFolders {
  std::vector<std::string> names;

  // Every value of the key, in the order it holds them.
  static TargetFolders read(platform::SettingsStore& store);
  // Replaces the key by the non-empty entries.
  void write(platform::SettingsStore& store) const;
  // Appends the folder unless an entry is the same text.
  void add(const std::string& folder);
};

// The folder as typed without a trailing "/"; the root "/" keeps it.
std::string folderText(std::string typed);

// OK in the destination dialog: the folder, created after a question when it
// does not exist; nothing when the user declined or it could not be made
// (said through the prompter). Only whole paths are taken, so that nothing
// lands in whatever folder the program happened to start in.
std::optional<std::filesystem::path> acceptDestination(const std::string& typed, platform::Prompter& prompter);

}  // namespace vistrel::targets
