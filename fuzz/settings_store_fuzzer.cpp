// The settings file is edited by hand and damaged by full disks. The store
// must read it whole or move it aside untouched (and start from the
// defaults), and every reader of stored values must take what it holds.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "options/program_options.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "platform/settings_text.h"
#include "tools/mail/mail_settings.h"
#include "tools/textreplace/texrep_settings.h"

using namespace vistrel;
namespace fs = std::filesystem;

namespace {

void readKeys(platform::SettingsStore& store, const std::string& path) {
  if (const auto key = store.openKey(path, false)) {
    for (const std::string& name : key->valueNames()) {
      fuzz::tryReading([&] {
        switch (key->valueType(name)) {
          case platform::ValueType::String: (void)key->readString(name); break;
          case platform::ValueType::Dword: (void)key->readInteger(name); break;
          case platform::ValueType::Binary: (void)key->readBinary(name); break;
        }
      });
    }
  }
  for (const std::string& sub : store.subKeyNames(path)) readKeys(store, path + "\\" + sub);
}

// Only the damaged file may be set aside, and with its bytes as they were.
void checkAside(const fs::path& config, const fs::path& file, std::string_view bytes, bool parsed) {
  int aside = 0;
  for (const auto& entry : fs::directory_iterator(config)) {
    if (!entry.path().filename().string().starts_with("settings.reg.damaged-")) continue;
    ++aside;
    if (platform::readFile(entry.path()) != bytes) std::abort();
  }
  if (aside != (parsed ? 0 : 1) || fs::exists(file) != parsed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const fs::path config = fuzz::scratchFolder() / "config";
  fs::remove_all(config);
  const fs::path file = fuzz::written("config/settings.reg", bytes);
  platform::SettingsStore store(file);
  bool parsed = true;
  fuzz::tryReading([&] {
    parsed = false;
    (void)platform::parseSettingsText(bytes);
    parsed = true;
  });
  checkAside(config, file, bytes, parsed);
  readKeys(store, "Software");
  auto options = options::ProgramOptions::defaults(config);
  options::readProgramOptions(store, config / "email.idx", options);
  mail::MailSettings mailSettings;
  mail::readMailSettings(store, mailSettings);
  (void)mail::readPlainLoginServers(store);
  (void)textreplace::readTexRepSettings(store);
  store.reload();
  return 0;
}
