// Gallery designs (.vgc) are shared between users and edited by hand. Loading
// one must give settings or the base64 error, never a crash; what was loaded
// must write back into a file that loads the same; and the caption formats it
// holds must expand without hanging, whatever placeholders they repeat.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gallery/captions.h"
#include "gallery/settings_file.h"
#include "platform/error.h"

using namespace vistrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  gallery::GallerySettings settings;
  try {
    gallery::loadSettingsIni(platform::IniFile::parse(text), settings, {"a.css"});
  } catch (const Error&) {
    return 0;
  }
  const std::string written = gallery::settingsToIni(settings).text();
  gallery::GallerySettings again;
  gallery::loadSettingsIni(platform::IniFile::parse(written), again, {"a.css"});
  if (gallery::settingsToIni(again).text() != written) std::abort();
  gallery::NoMetadata metadata;
  for (const auto variant : {gallery::CaptionVariant::Overlay, gallery::CaptionVariant::IndexCell}) {
    gallery::expandCaption(settings.ParamString, "/nonexistent/a b.jpg", variant, {"<F>", true}, metadata);
  }
  return 0;
}
