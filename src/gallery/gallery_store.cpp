#include "gallery/gallery_store.h"

#include <algorithm>

#include "gallery/settings_fields.h"
#include "platform/base64.h"
#include "platform/error.h"
#include "platform/log.h"

namespace vistrel::gallery {
namespace {

using platform::SettingsKey;

// The order in which the values are written; the file's order differs.
constexpr std::string_view kStoreOrder[] = {
    "Cols", "Rows", "Maxsize", "Caption", "Headline", "Footer", "TargetFolder", "Filename",
    "FileExtension", "OpenHTML", "HeaderFontName", "TextFontName", "HeaderFontSize", "TextFontSize",
    "TdValign", "TdAlign", "ImgBorder", "TableWidth", "Border", "Cellpadding", "Cellspacing",
    "AlignCenter", "InclPageNo", "UseCSS", "NoHTML", "CSSfname", "ParamString", "CreateFullPage",
    "FullPageParamString", "MediumSize", "InclLink", "MediumFormat", "CopyOriginal", "DontLink",
    "TableColor", "BodyColor", "LinkColor", "VLinkColor", "HtmlTextColor", "JpegCompLevel",
    "ThumbPrefix", "MediumPrefix", "Sharpen", "SharpenMed", "SharpenValue", "SharpenValueMed",
    "HighQuality", "Contrast", "Brightness", "Invert", "InclBorder", "BorderValue", "Border3D",
    "UseSubfolders", "ThumbFolder", "ImageFolder", "UseOverlayText", "UseMediumOverlay",
    "OverlayText", "MediumOverlayText", "TextColor", "InclDropShadow", "FontSize", "TextTop",
    "TextBottom", "TextLeft", "TextRight", "CenterOverlay", "HeadText", "HeaderText", "FooterText",
    "NextIndexPage", "BackIndexPage", "PrevSinglePage", "NextSinglePage", "BackToIndex", "FirstPage",
    "VerLinkPos", "HorLinkPos", "Separator", "BackNextNav", "NumbersNav", "BothNav"};

const SettingsField& fieldByStoreName(std::string_view name) {
  const auto fields = settingsFields();
  return *std::find_if(fields.begin(), fields.end(),
                       [&](const SettingsField& f) { return f.storeName == name; });
}

std::string textToStore(const SettingsField& field, const std::string& text) {
  return field.coding == Coding::Memo ? platform::base64Encode(text) : text;
}

void writeValue(SettingsKey& key, const SettingsField& field, const GallerySettings& s) {
  const auto name = field.storeName;
  std::visit(Overloaded{
                 [&](int GallerySettings::*m) { key.writeInteger(name, s.*m); },
                 [&](bool GallerySettings::*m) { key.writeBool(name, s.*m); },
                 [&](std::uint32_t GallerySettings::*m) { key.writeDword(name, s.*m); },
                 [&](RadioButton r) { key.writeBool(name, r.get(s)); },
                 [&](std::string GallerySettings::*m) {
                   if (field.coding == Coding::Separator) {
                     key.writeInteger(name, itemIndex(separatorItems(), s.*m));
                   } else {
                     key.writeString(name, textToStore(field, s.*m));
                   }
                 },
             },
             field.member);
}

// A missing text reads as empty; a value of another type throws SettingsError.
std::string readText(const SettingsKey& key, std::string_view name) {
  return key.valueExists(name) ? key.readString(name) : std::string();
}

void readValue(const SettingsKey& key, const SettingsField& field, GallerySettings& s) {
  const auto name = field.storeName;
  std::visit(Overloaded{
                 [&](int GallerySettings::*m) {
                   s.*m = std::clamp(key.readInteger(name), field.min, field.max);
                 },
                 [&](bool GallerySettings::*m) { s.*m = key.readBool(name); },
                 [&](std::uint32_t GallerySettings::*m) { s.*m = key.readDword(name); },
                 [&](RadioButton r) { r.set(s, key.readBool(name)); },
                 [&](std::string GallerySettings::*m) {
                   if (field.coding == Coding::Separator) {
                     s.*m = std::string(itemText(separatorItems(), key.readInteger(name)));
                     return;
                   }
                   const std::string text = readText(key, name);
                   if (field.coding == Coding::Memo) {
                     if (!text.empty()) s.*m = platform::base64Decode(text);
                   } else if (field.coding != Coding::LinkText || !text.empty()) {
                     s.*m = text;
                   }
                 },
             },
             field.member);
}

}  // namespace

void writeGalleryStore(platform::SettingsStore& store, const GallerySettings& settings) {
  try {
    auto key = store.openKey(platform::kProgramKey, true);
    for (std::string_view name : kStoreOrder) writeValue(*key, fieldByStoreName(name), settings);
    store.flush();
  } catch (const std::exception& e) {
    log::warning(std::string("The gallery settings were not saved: ") + e.what());
  }
}

void readGalleryStore(platform::SettingsStore& store, GallerySettings& settings) {
  const auto key = store.openKey(platform::kProgramKey, false);
  if (!key) return;
  try {
    for (std::string_view name : kStoreOrder) {
      // The medium-format choice is read ahead of the original-file link.
      if (name == "InclLink") name = "MediumFormat";
      else if (name == "MediumFormat") name = "InclLink";
      readValue(*key, fieldByStoreName(name), settings);
    }
  } catch (const Error&) {
    settings.resetLinkTexts();
  }
}

}  // namespace vistrel::gallery
