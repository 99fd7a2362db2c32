#include "ftp/clear_text_warning.h"

#include <string>

#include "ftp/ftp_client.h"
#include "platform/text.h"

namespace vistrel::ftp {
namespace {

constexpr std::string_view kWarnedKey = "Software\\Kelmora\\Vistrel\\FtpClearTextWarned";

bool sendsPasswordInClear(const Site& site) {
  std::string host = site.address;
  return protocolOf(host) == Protocol::Ftp && !platform::equalsIgnoreCase(site.user, "anonymous");
}

}  // namespace

void warnOfPasswordInClear(const Site& site, platform::Prompter& prompter, platform::SettingsStore& store) {
  if (!sendsPasswordInClear(site)) return;
  auto warned = store.openKey(kWarnedKey, true);
  if (warned->valueExists(site.description)) return;
  prompter.warn("The site \"" + site.description + "\" uses plain FTP: the password travels unencrypted, and " +
                    "anyone on the way can read it. If the server offers FTPS, write ftps:// before its address " +
                    "in the site list.",
                "Warning");
  warned->writeBool(site.description, true);
}

}  // namespace vistrel::ftp
