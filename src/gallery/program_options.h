#pragma once

#include "platform/settings_store.h"

namespace vistrel::gallery {

// The two program options every gallery run reads (kept by the options dialog).
struct ProgramOptions {
  bool cbReplaceExisting = false;  // "Always overwrite existing files when creating thumbnails"
  bool cbFixFilenames = true;      // "Replace illegal characters when creating thumbnails"
};

// Each value on its own; a missing or mistyped one keeps its default.
ProgramOptions readProgramOptions(platform::SettingsStore& store);

}  // namespace vistrel::gallery
