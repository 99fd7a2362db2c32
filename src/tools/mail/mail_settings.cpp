#include "tools/mail/mail_settings.h"

namespace vistrel::mail {
namespace {

const std::string kPlainLoginKey = std::string(platform::kProgramKey) + "\\MailPlainLogin";

}  // namespace

void readMailSettings(platform::SettingsStore& store, MailSettings& s) {
  const auto key = store.openKey(platform::kProgramKey, false);
  if (!key) return;
  try {
    s.to = key->readString("MailTo");
    s.subject = key->readString("MailSubject");
    s.resample = key->readBool("MailResample");
    s.sharpen = key->readBool("MailSharpen");
    s.height = key->readInteger("MailHeight");
    s.width = key->readInteger("MailWidth");
  } catch (const platform::SettingsError&) {
    // Stop quietly at the first missing value.
  }
}

void writeMailSettings(platform::SettingsStore& store, const MailSettings& s) {
  auto key = store.openKey(platform::kProgramKey, true);
  key->writeString("MailTo", s.to);
  key->writeString("MailSubject", s.subject);
  key->writeBool("MailResample", s.resample);
  key->writeBool("MailSharpen", s.sharpen);
  key->writeInteger("MailHeight", s.height);
  key->writeInteger("MailWidth", s.width);
  store.flush();
}

std::set<std::string> readPlainLoginServers(platform::SettingsStore& store) {
  const auto key = store.openKey(kPlainLoginKey, false);
  if (!key) return {};
  const std::vector<std::string> names = key->valueNames();
  return {names.begin(), names.end()};
}

void writePlainLoginServers(platform::SettingsStore& store, const std::set<std::string>& servers) {
  if (servers.empty() && !store.keyExists(kPlainLoginKey)) return;
  auto key = store.openKey(kPlainLoginKey, true);
  for (const std::string& server : servers) {
    if (!key->valueExists(server)) key->writeBool(server, true);
  }
  store.flush();
}

}  // namespace vistrel::mail
