// Gallery designs (.vgc) are shared between users and edited by hand. Loading
// one must give settings or the base64 error, never a crash; once the file's
// reader has trimmed the blanks at the ends of the texts, a design must write
// back into a file that loads the same; and the caption formats it holds must
// expand without hanging, whatever placeholders they repeat.
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
  const auto reload = [](const std::string& file) {
    gallery::GallerySettings loaded;
    gallery::loadSettingsIni(platform::IniFile::parse(file), loaded, {"a.css"});
    return gallery::settingsToIni(loaded).text();
  };
  const std::string trimmed = reload(gallery::settingsToIni(settings).text());
  if (reload(trimmed) != trimmed) std::abort();
  gallery::NoMetadata metadata;
  for (const auto variant : {gallery::CaptionVariant::Overlay, gallery::CaptionVariant::IndexCell}) {
    gallery::expandCaption(settings.ParamString, "/nonexistent/a b.jpg", variant, {"<F>", true}, metadata);
  }
  return 0;
}
