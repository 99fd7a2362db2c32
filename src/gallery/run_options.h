#pragma once

#include <filesystem>

#include "platform/settings_store.h"

namespace vistrel::gallery {

// The two program options every gallery run reads; the options dialog keeps
// them with the others (options::ProgramOptions).
struct RunOptions {
  bool cbReplaceExisting = false;  // "Always overwrite existing files when creating thumbnails"
  // "Replace illegal characters when creating thumbnails": pages now encode
  // every URL whatever it says (a bare blank, "#" or "%" broke links); it is
  // kept so that the options dialog and stored options stay as they were.
  bool cbFixFilenames = true;
};

// The two as the options dialog has stored them (its defaults where it has not).
RunOptions readRunOptions(platform::SettingsStore& store, const std::filesystem::path& programData);

}  // namespace vistrel::gallery
