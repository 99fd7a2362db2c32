// The mail tool's address book (email.idx, written by older programs in
// Latin-1 and by hand) and the "To:" text typed or stored: read whole, and no
// address let through may change the commands sent to the server.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "options/program_options.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "tools/mail/recipients.h"

using namespace vistrel;
namespace fs = std::filesystem;

namespace {

// A store that holds every option, so that reading goes on to the address book.
platform::SettingsStore& fullStore() {
  static auto* store = [] {
    auto* made = new platform::SettingsStore(fuzz::scratchFolder() / "settings.reg");
    options::writeProgramOptions(*made, fuzz::scratchFolder() / "email.idx",
                                 options::ProgramOptions::defaults(fuzz::scratchFolder()));
    made->flush();
    return made;
  }();
  return *store;
}

void checkRecipients(std::string_view to) {
  fuzz::tryReading([&] {
    for (const std::string& address : mail::recipientList(to)) {
      const bool unsafe = std::any_of(address.begin(), address.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '<' || c == '>' || c == ';' || c == ',';
      });
      if (address.empty() || unsafe) std::abort();
    }
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  options::ProgramOptions options;
  options::readProgramOptions(fullStore(), fuzz::written("email.idx", bytes), options);
  for (const std::string& address : options.addresses) {
    if (!platform::isValidUtf8(address)) std::abort();
    checkRecipients(address);
  }
  checkRecipients(bytes);
  return 0;
}
