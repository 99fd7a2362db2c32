// The small files that other programs and hand edits leave in a user's
// folders and data folder (descript.ion, drag lists, IPTC templates, the FTP
// site list with its password fields, desktop entries): each reader must
// accept or refuse them, never crash. A desktop entry's command, whatever it
// says, must hand the file over in one piece.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "browser/drag_list_file.h"
#include "ftp/password_cipher.h"
#include "ftp/site_list.h"
#include "metadata/descriptions.h"
#include "metadata/iptc_template.h"
#include "platform/desktop_entries.h"
#include "platform/error.h"
#include "platform/log.h"

using namespace vistrel;
namespace fs = std::filesystem;

namespace {

fs::path folder() {
  static const fs::path made = [] {
    const fs::path path = fs::temp_directory_path() / ("vistrel-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path);
    return path;
  }();
  return made;
}

fs::path written(const char* name, std::string_view bytes) {
  const fs::path file = folder() / name;
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

template <typename Read>
void tryReading(Read read) {
  try {
    read();
  } catch (const Error&) {
  }
}

void readDesktopEntry(std::string_view bytes) {
  const auto entry = platform::parseDesktopEntry(bytes, "de_AT.UTF-8@euro");
  const fs::path photo = "/photos/a \"b\" %f $(c).jpg";
  tryReading([&] {
    const auto command = platform::commandLineFor(entry, photo);
    const bool handedOver = std::any_of(command.begin(), command.end(), [&](const std::string& argument) {
      return argument.find(photo.string()) != std::string::npos;
    });
    if (!command.empty() && !handedOver) std::abort();
  });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  log::setSink([](log::Level, std::string_view) {});
  folder();  // made before the handler is registered, so it is still there when the handler runs
  std::atexit([] {
    std::error_code ec;
    fs::remove_all(folder(), ec);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  written("descript.ion", bytes);
  tryReading([] { metadata::FolderDescriptions(folder()); });
  tryReading([&] { browser::readDragList(written("list.vfl", bytes)); });
  tryReading([&] {
    metadata::IptcFields fields;
    metadata::LoadIptcTemplate(written("t.vit", bytes), fields);
  });
  tryReading([&] {
    ftp::SiteList sites(written("ftp.dat", bytes));
    sites.load();
    for (const ftp::Site& site : sites.shownSites()) tryReading([&] { ftp::decipherPassword(site.passwordField); });
  });
  readDesktopEntry(bytes);
  return 0;
}
