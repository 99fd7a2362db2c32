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

void saveSettingsFile(const std::filesystem::path& file, const GallerySettings& settings);
void loadSettingsFile(const std::filesystem::path& file, GallerySettings& settings,
                      const std::vector<std::string>& styleSheets);

// The names of the style sheets in the program data folder's "css", in name order.
std::vector<std::string> installedStyleSheets(const std::filesystem::path& programData);

}  // namespace vistrel::gallery
