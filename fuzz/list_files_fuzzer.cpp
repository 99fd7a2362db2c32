// The small files that other programs and hand edits leave in a user's
// folders and data folder (descript.ion, drag lists, the list of a folder's
// program outputs, IPTC templates (saved and read again), the FTP site list with its password
// fields, desktop entries): each reader must
// accept or refuse them, never crash. A desktop entry's command, whatever it
// says, must hand the file over in one piece.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "browser/drag_list_file.h"
#include "ftp/password_cipher.h"
#include "ftp/site_list.h"
#include "fuzz_support.h"
#include "metadata/descriptions.h"
#include "metadata/iptc_template.h"
#include "platform/desktop_entries.h"
#include "platform/output_manifest.h"

using namespace vistrel;
using fuzz::tryReading;
using fuzz::written;
namespace fs = std::filesystem;

namespace {

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

// A lone carriage return inside a value is saved as a blank, as any line break.
void asSaved(metadata::IptcFields& fields) {
  const auto blank = [](std::string& text) { std::replace(text.begin(), text.end(), '\r', ' '); };
  for (const metadata::IptcTextField& field : metadata::IptcTextFields()) blank(fields.*field.member);
  for (auto* list : {&fields.keywords, &fields.suppCategories}) std::for_each(list->begin(), list->end(), blank);
}

// What the editor saves from a template it loaded reads back the same.
void roundTripTemplate(std::string_view bytes) {
  metadata::IptcFields loaded, again;
  try {
    metadata::LoadIptcTemplate(written("t.vit", bytes), loaded);
  } catch (const Error&) {
    return;
  }
  metadata::SaveIptcTemplate(fuzz::scratchFolder() / "saved.vit", loaded);
  metadata::LoadIptcTemplate(fuzz::scratchFolder() / "saved.vit", again);
  asSaved(loaded);
  if (again != loaded) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  written("descript.ion", bytes);
  tryReading([] { metadata::FolderDescriptions(fuzz::scratchFolder()); });
  tryReading([&] { browser::readDragList(written("list.vfl", bytes)); });
  written(platform::kOutputManifestName, bytes);
  (void)platform::readOutputManifest(fuzz::scratchFolder());
  roundTripTemplate(bytes);
  tryReading([&] {
    ftp::SiteList sites(written("ftp.dat", bytes));
    sites.load();
    for (const ftp::Site& site : sites.shownSites()) tryReading([&] { ftp::decipherPassword(site.passwordField); });
  });
  readDesktopEntry(bytes);
  return 0;
}
