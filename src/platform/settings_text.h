#pragma once

#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace vistrel::platform {

// The text form of the settings file, one key a section:
//   [Software\Kelmora\Vistrel]
//   "FontName"="Tahoma"
//   "SortCol"=dword:00000000
//   "Blob"=hex:01,ff
// Strings escape \ " and control characters with a backslash.
std::string settingsText(const SettingsStore::Tree& tree);

// Throws Error naming the first line that is not of this form.
SettingsStore::Tree parseSettingsText(std::string_view text);

}  // namespace vistrel::platform
