#include "cli/gallery_settings_edit.h"

#include <type_traits>

#include "cli/command.h"
#include "gallery/settings_fields.h"
#include "gallery/settings_file.h"
#include "platform/base64.h"
#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::cli {

void setSettingsField(gallery::GallerySettings& settings, const std::string& assignment,
                      const std::vector<std::string>& styleSheets) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) throw UsageError("--set needs Key=Value, not '" + assignment + "'");
  const std::string name = assignment.substr(0, equals);
  const std::size_t dot = name.rfind('.');
  const std::string section = dot == std::string::npos ? std::string() : name.substr(0, dot);
  const std::string key = dot == std::string::npos ? name : name.substr(dot + 1);
  std::vector<const gallery::SettingsField*> matches;
  for (const auto& field : gallery::settingsFields()) {
    if (platform::equalsIgnoreCase(field.key, key) &&
        (section.empty() || platform::equalsIgnoreCase(field.section, section))) {
      matches.push_back(&field);
    }
  }
  if (matches.empty()) throw UsageError("no settings key '" + name + "'");
  if (matches.size() > 1) {
    std::string choices;
    for (const auto* field : matches) {
      choices += (choices.empty() ? "" : " or ") + std::string(field->section) + "." + std::string(field->key);
    }
    throw UsageError("the key '" + key + "' is ambiguous: say " + choices);
  }
  const auto& field = *matches.front();
  std::string value = assignment.substr(equals + 1);
  if (field.coding == gallery::Coding::Memo) value = platform::base64Encode(value);
  // Read through the file's own rules, then take over only this field, so that
  // the others do not lose the blanks a file trims.
  platform::IniFile ini = gallery::settingsToIni(settings);
  ini.writeString(field.section, field.key, value);
  gallery::GallerySettings changed = settings;
  gallery::loadSettingsIni(ini, changed, styleSheets);
  std::visit(
      [&](auto member) {
        if constexpr (std::is_same_v<decltype(member), gallery::RadioButton>) {
          member.set(settings, member.get(changed));
        } else {
          settings.*member = changed.*member;
        }
      },
      field.member);
}

}  // namespace vistrel::cli
