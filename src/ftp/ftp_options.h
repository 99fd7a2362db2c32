#pragma once

#include <string>

#include "platform/settings_store.h"

namespace vistrel::ftp {

// The options of the upload dialog, kept in the program's own settings key.
struct FtpOptions {
  int timeoutSeconds = 15;  // 1-60
  bool useProxy = false;
  std::string proxy;
  int proxyPort = 21;
  int logHeight = 59;  // 50-100
  bool largeIcons = false;
  bool autoClose = false;
  bool passiveMode = true;
  bool promptOverwrite = true;
  bool onlyChanged = false;    // upload only new and changed files
  bool removeDeleted = false;  // remove files deleted locally from the server
};

// Reads the values in their fixed order; the first missing or mistyped one
// ends the reading and the rest keep their defaults.
FtpOptions readFtpOptions(platform::SettingsStore& store);
void writeFtpOptions(platform::SettingsStore& store, const FtpOptions& options);

}  // namespace vistrel::ftp
