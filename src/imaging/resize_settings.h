#pragma once

#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace vistrel::imaging {

// The quick resize tool's choices, with the defaults of its window.
struct ResizeSettings {
  int newSize = 400;  // the longer side of each copy, 50 to 4000
  bool sharpen = false;
  int filter = 1;    // the resample filter's index: Triangle
  int quality = 80;  // 10 to 100
  bool progressive = false;
  bool usePrefix = false;  // beside the source with the prefix; else into the output folder
  std::string outputFolder;
  std::string prefix = "convert_";
  bool operator==(const ResizeSettings&) const = default;
};

inline constexpr std::string_view kResizeKey = "Software\\Kelmora\\Vistrel\\resize";

// Reads the stored values over `settings` in their fixed order; the first one
// that is missing or of another type ends the reading and the rest keep what
// they held. Numbers out of range are brought into it.
void readResizeSettings(platform::SettingsStore& store, ResizeSettings& settings);
// Writes all eight values, creating the key when needed.
void writeResizeSettings(platform::SettingsStore& store, const ResizeSettings& settings);

}  // namespace vistrel::imaging
