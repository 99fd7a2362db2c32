#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gallery/gallery_settings.h"
#include "platform/ini_file.h"

namespace vistrel::gallery {

// The gallery settings file (.vgc): one INI file per gallery design.
platform::IniFile settingsToIni(const GallerySettings& settings);

// Reads every key in file order straight into the settings, so that a file
// which breaks off (a damaged base64 text throws Error) keeps what came before.
// A style sheet name that is not among `styleSheets` selects none.
void loadSettingsIni(const platform::IniFile& ini, GallerySettings& settings,
                     const std::vector<std::string>& styleSheets);

// A design as it was loaded from its file, so that a later save to the same
// file can write only what changed since.
struct LoadedDesign {
  std::filesystem::path file;
  platform::IniFile ini;  // settingsToIni of the settings right after loading
};

// Writes the design file under a lock on its folder. Given the design as it
// was loaded from this same file, only the keys that changed since are
// written, into the file as it is now: two processes that each load, change
// and save one design both keep their changes. Otherwise the whole design
// replaces the file. Throws Error.
void saveSettingsFile(const std::filesystem::path& file, const GallerySettings& settings,
                      const LoadedDesign* loaded = nullptr);
void loadSettingsFile(const std::filesystem::path& file, GallerySettings& settings,
                      const std::vector<std::string>& styleSheets);

// The names of the style sheets in the program data folder's "css", in name order.
std::vector<std::string> installedStyleSheets(const std::filesystem::path& programData);

}  // namespace vistrel::gallery
