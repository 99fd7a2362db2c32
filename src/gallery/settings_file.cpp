#include "gallery/settings_file.h"

#include <algorithm>

#include "gallery/settings_fields.h"
#include "platform/base64.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::gallery {
namespace {

using platform::IniFile;

void writeField(IniFile& ini, const SettingsField& field, const GallerySettings& s) {
  const auto section = field.section, key = field.key;
  std::visit(Overloaded{
                 [&](int GallerySettings::*m) { ini.writeInteger(section, key, s.*m); },
                 [&](bool GallerySettings::*m) { ini.writeBool(section, key, s.*m); },
                 [&](std::uint32_t GallerySettings::*m) {
                   ini.writeString(section, key, std::to_string(s.*m));
                 },
                 [&](RadioButton r) { ini.writeBool(section, key, r.get(s)); },
                 [&](std::string GallerySettings::*m) {
                   ini.writeString(section, key,
                                   field.coding == Coding::Memo ? platform::base64Encode(s.*m) : s.*m);
                 },
             },
             field.member);
}

void readField(const IniFile& ini, const SettingsField& field, GallerySettings& s,
               const std::vector<std::string>& styleSheets) {
  const auto section = field.section, key = field.key;
  const GallerySettings& missing = missingInFile();
  std::visit(Overloaded{
                 [&](int GallerySettings::*m) {
                   s.*m = std::clamp(ini.readInteger(section, key, missing.*m), field.min, field.max);
                 },
                 [&](bool GallerySettings::*m) { s.*m = ini.readBool(section, key, missing.*m); },
                 [&](std::uint32_t GallerySettings::*m) {
                   const auto text = ini.readString(section, key);
                   const auto value = text ? platform::parseInteger(*text) : std::nullopt;
                   s.*m = value ? static_cast<std::uint32_t>(*value) : missing.*m;
                 },
                 [&](RadioButton r) { r.set(s, ini.readBool(section, key, r.get(missing))); },
                 [&](std::string GallerySettings::*m) {
                   const auto text = ini.readString(section, key);
                   if (field.coding == Coding::Memo) {
                     // The INI text was decoded already, but not what its Base64 hides.
                     if (text && !text->empty()) s.*m = platform::textFromFile(platform::base64Decode(*text));
                   } else if (field.coding == Coding::Css) {
                     const bool known = text && std::find(styleSheets.begin(), styleSheets.end(),
                                                          *text) != styleSheets.end();
                     s.*m = known ? *text : std::string();
                   } else {
                     s.*m = text ? *text : missing.*m;
                   }
                 },
             },
             field.member);
}

}  // namespace

IniFile settingsToIni(const GallerySettings& settings) {
  IniFile ini;
  for (const SettingsField& field : settingsFields()) writeField(ini, field, settings);
  return ini;
}

void loadSettingsIni(const IniFile& ini, GallerySettings& settings,
                     const std::vector<std::string>& styleSheets) {
  for (const SettingsField& field : settingsFields()) readField(ini, field, settings, styleSheets);
}

void saveSettingsFile(const std::filesystem::path& file, const GallerySettings& settings, const LoadedDesign* loaded) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  const platform::FileLock lock(folder);
  const IniFile wanted = settingsToIni(settings);
  if (!loaded || platform::resolvedPath(loaded->file) != platform::resolvedPath(file)) {
    wanted.save(file);
    return;
  }
  IniFile current = IniFile::load(file);
  for (const SettingsField& field : settingsFields()) {
    const auto value = wanted.readString(field.section, field.key);
    if (value && *value != loaded->ini.readString(field.section, field.key)) {
      current.writeString(field.section, field.key, *value);
    }
  }
  current.save(file);
}

void loadSettingsFile(const std::filesystem::path& file, GallerySettings& settings,
                      const std::vector<std::string>& styleSheets) {
  loadSettingsIni(IniFile::parse(platform::readFile(file)), settings, styleSheets);
}

std::vector<std::string> installedStyleSheets(const std::filesystem::path& programData) {
  std::vector<std::string> names;
  std::error_code ec;
  if (!std::filesystem::is_directory(programData / "css", ec)) return names;
  for (const auto& entry : platform::listFolder(programData / "css")) {
    const std::string name = entry.path.filename().string();
    if (!entry.isFolder && platform::lowerExtension(entry.path) == ".css") {
      names.push_back(name);
    }
  }
  return names;
}

}  // namespace vistrel::gallery
