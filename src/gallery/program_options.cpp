#include "gallery/program_options.h"

namespace vistrel::gallery {
namespace {

bool readSwitch(const platform::SettingsKey& key, std::string_view name, bool fallback) {
  try {
    return key.readBool(name);
  } catch (const platform::SettingsError&) {
    return fallback;
  }
}

}  // namespace

ProgramOptions readProgramOptions(platform::SettingsStore& store) {
  ProgramOptions options;
  if (const auto key = store.openKey(platform::kProgramKey, false)) {
    options.cbReplaceExisting = readSwitch(*key, "ReplaceExistingFiles", options.cbReplaceExisting);
    options.cbFixFilenames = readSwitch(*key, "FixFilenames", options.cbFixFilenames);
  }
  return options;
}

}  // namespace vistrel::gallery
