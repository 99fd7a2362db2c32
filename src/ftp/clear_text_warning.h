#pragma once

#include "ftp/site_list.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

namespace vistrel::ftp {

// Warns, once per site and not again in later runs, that a login to a plain
// FTP site sends the password unencrypted, and says how to ask for FTPS.
void warnOfPasswordInClear(const Site& site, platform::Prompter& prompter, platform::SettingsStore& store);

}  // namespace vistrel::ftp
