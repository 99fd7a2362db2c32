// Settings and INI files are edited by hand and may be damaged; their readers
// must refuse or accept, never crash. What is accepted must write back into
// text that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/base64.h"
#include "platform/error.h"
#include "platform/ini_file.h"
#include "platform/settings_text.h"

using namespace vistrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const auto tree = platform::parseSettingsText(text);
    const std::string written = platform::settingsText(tree);
    if (platform::settingsText(platform::parseSettingsText(written)) != written) std::abort();
  } catch (const Error&) {
  }
  const auto ini = platform::IniFile::parse(text);
  if (platform::IniFile::parse(ini.text()).text() != ini.text()) std::abort();
  try {
    platform::base64Decode(text);
  } catch (const Error&) {
  }
  return 0;
}
