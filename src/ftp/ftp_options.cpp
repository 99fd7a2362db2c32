#include "ftp/ftp_options.h"

#include <algorithm>

namespace vistrel::ftp {

FtpOptions readFtpOptions(platform::SettingsStore& store) {
  FtpOptions options;
  const auto key = store.openKey(platform::kProgramKey, false);
  if (!key) return options;
  try {
    options.timeoutSeconds = std::clamp(key->readInteger("FtpTimeout"), 1, 60);
    options.useProxy = key->readBool("FtpUseProxy");
    options.proxy = key->readString("FtpProxy");
    options.proxyPort = key->readInteger("FtpProxyPort");
    options.logHeight = std::clamp(key->readInteger("FtpLogHeight"), 50, 100);
    options.largeIcons = key->readBool("FtpLargeIcons");
    options.autoClose = key->readBool("FtpAutoClose");
    options.passiveMode = key->readBool("FtpPassiveMode");
    options.promptOverwrite = key->readBool("FtpPromptOverwrite");
    options.onlyChanged = key->readBool("FtpOnlyChanged");
    options.removeDeleted = key->readBool("FtpRemoveDeleted");
  } catch (const platform::SettingsError&) {
    // Settings of an older version: keep the defaults from here on.
  }
  return options;
}

void writeFtpOptions(platform::SettingsStore& store, const FtpOptions& options) {
  auto key = store.openKey(platform::kProgramKey, true);
  key->writeInteger("FtpTimeout", options.timeoutSeconds);
  key->writeBool("FtpUseProxy", options.useProxy);
  key->writeString("FtpProxy", options.proxy);
  key->writeInteger("FtpProxyPort", options.proxyPort);
  key->writeInteger("FtpLogHeight", options.logHeight);
  key->writeBool("FtpLargeIcons", options.largeIcons);
  key->writeBool("FtpAutoClose", options.autoClose);
  key->writeBool("FtpPassiveMode", options.passiveMode);
  key->writeBool("FtpPromptOverwrite", options.promptOverwrite);
  key->writeBool("FtpOnlyChanged", options.onlyChanged);
  key->writeBool("FtpRemoveDeleted", options.removeDeleted);
  store.flush();
}

}  // namespace vistrel::ftp
