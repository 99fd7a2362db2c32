#include "tools/rename/rename_settings.h"

#include <algorithm>

namespace vistrel::rename {
namespace {

std::string keyPath() { return std::string(platform::kProgramKey) + "\\FileRename"; }

}  // namespace

RenameSettings readRenameSettings(platform::SettingsStore& store) {
  RenameSettings settings;
  const auto key = store.openKey(keyPath(), false);
  if (!key) return settings;
  try {
    settings.pattern = key->readString("NewFName");
    settings.dateFormat = key->readString("DateFormat");
    settings.timeFormat = key->readString("TimeFormat");
    settings.separator = key->readString("Separator");
    settings.startNumber = std::max(0, key->readInteger("StartNumber"));
    settings.digits = std::clamp(key->readInteger("Digits"), 1, kMaxDigits);
    settings.lowerCase = key->readBool("LowerCase");
  } catch (const platform::SettingsError&) {
    // Keep the defaults from the first missing value on.
  }
  return settings;
}

void writeRenameSettings(platform::SettingsStore& store, const RenameSettings& settings) {
  auto key = store.openKey(keyPath(), true);
  key->writeString("NewFName", settings.pattern);
  key->writeString("DateFormat", settings.dateFormat);
  key->writeString("TimeFormat", settings.timeFormat);
  key->writeString("Separator", settings.separator);
  key->writeInteger("StartNumber", settings.startNumber);
  key->writeInteger("Digits", settings.digits);
  key->writeBool("LowerCase", settings.lowerCase);
  store.flush();
}

}  // namespace vistrel::rename
