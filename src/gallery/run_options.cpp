#include "gallery/run_options.h"

#include "options/program_options.h"

namespace vistrel::gallery {

namespace {

// Read on its own rather than in the options' fixed order, which stops at the
// first value missing: the gallery dialog may store it before the options
// dialog ever stored anything.
constexpr const char* kOnlyChanged = "OnlyMakeWhatChanged";

}  // namespace

RunOptions readRunOptions(platform::SettingsStore& store, const std::filesystem::path& programData) {
  auto stored = options::ProgramOptions::defaults(programData);
  options::readProgramOptions(store, options::addressFile(programData), stored);
  return {stored.replaceExisting, stored.fixFilenames, readOnlyChanged(store)};
}

bool readOnlyChanged(platform::SettingsStore& store) {
  const auto key = store.openKey(platform::kProgramKey, false);
  return key && key->valueExists(kOnlyChanged) && key->valueType(kOnlyChanged) == platform::ValueType::Dword &&
         key->readBool(kOnlyChanged);
}

void writeOnlyChanged(platform::SettingsStore& store, bool onlyChanged) {
  store.openKey(platform::kProgramKey, true)->writeBool(kOnlyChanged, onlyChanged);
}

}  // namespace vistrel::gallery
