#pragma once

#include <filesystem>

#include "platform/settings_store.h"

namespace vistrel::gallery {

// Whether a run removes what earlier runs made that the gallery no longer has.
enum class Prune { Never, Ask, Always };

// The program options every gallery run reads: the options dialog keeps the
// first two with the others (options::ProgramOptions), the gallery dialog the
// third; how to prune is the caller's choice for one run.
struct RunOptions {
  bool cbReplaceExisting = false;  // "Always overwrite existing files when creating thumbnails"
  // "Replace illegal characters when creating thumbnails": pages now encode
  // every URL whatever it says (a bare blank, "#" or "%" broke links); it is
  // kept so that the options dialog and stored options stay as they were.
  bool cbFixFilenames = true;
  // "Only make what changed": images are made again only when their source,
  // the settings that shape them or the file itself changed, and no file is
  // written again with the same bytes.
  bool onlyChanged = false;
  Prune prune = Prune::Never;  // only in a run that makes only what changed
};

// The options as the dialogs have stored them (their defaults where they have not).
RunOptions readRunOptions(platform::SettingsStore& store, const std::filesystem::path& programData);
// "Only make what changed" as the gallery dialog keeps it.
bool readOnlyChanged(platform::SettingsStore& store);
void writeOnlyChanged(platform::SettingsStore& store, bool onlyChanged);

}  // namespace vistrel::gallery
