#pragma once

#include <climits>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "gallery/gallery_settings.h"
#include "platform/overloaded.h"

namespace vistrel::gallery {

// One of the four-, three- or four-way choices that the stores keep as one
// boolean per radio button. Setting a button on selects it; setting it off
// clears the choice only when it was the selected one.
struct RadioButton {
  bool (*get)(const GallerySettings&);
  void (*set)(GallerySettings&, bool);
};

using FieldMember = std::variant<int GallerySettings::*, bool GallerySettings::*,
                                 std::string GallerySettings::*, std::uint32_t GallerySettings::*,
                                 RadioButton>;

// How a text field is kept.
enum class Coding {
  Plain,
  Memo,       // base64 of the whole text; an empty value leaves the field unchanged
  Separator,  // the per-user store keeps the item index
  LinkText,   // the per-user store's empty value leaves the field unchanged
  Css,        // must name one of the installed style sheets
};

struct SettingsField {
  std::string_view section;
  std::string_view key;
  std::string_view storeName;  // empty: not kept in the per-user store
  std::string_view meaning;    // one line for the command line's list of keys
  FieldMember member;
  Coding coding = Coding::Plain;
  int min = INT_MIN;  // spin-edit range; values are clamped into it
  int max = INT_MAX;
};

// The .vgc file's keys in file order.
std::span<const SettingsField> settingsFields();
// The value each key takes when a loaded file lacks it.
const GallerySettings& missingInFile();

}  // namespace vistrel::gallery
