#pragma once

#include <set>
#include <string>

#include "platform/settings_store.h"

namespace vistrel::mail {

// The e-mail dialog's stored values, in the program key. The new width of
// downsized pictures is not among them: it starts at 400 every time.
struct MailSettings {
  std::string to;                                 // "MailTo"
  std::string subject = "Message sent by Vistrel";  // "MailSubject"
  bool resample = true;                           // "MailResample"
  bool sharpen = false;                           // "MailSharpen"
  int height = 0;                                 // "MailHeight", the dialog's; 0 until stored
  int width = 0;                                  // "MailWidth"
};

// Reads the values over `settings` in their fixed order; the first that is
// missing or of another type ends the reading.
void readMailSettings(platform::SettingsStore& store, MailSettings& settings);
void writeMailSettings(platform::SettingsStore& store, const MailSettings& settings);

// The servers (by URL) to which the user agreed to send the password over a
// connection without TLS, in the sub-key "MailPlainLogin".
std::set<std::string> readPlainLoginServers(platform::SettingsStore& store);
void writePlainLoginServers(platform::SettingsStore& store, const std::set<std::string>& servers);

}  // namespace vistrel::mail
