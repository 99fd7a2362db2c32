#pragma once

#include <string>

#include "platform/settings_store.h"

namespace vistrel::rename {

// The choices of a rename series, kept under "FileRename" in the program key.
struct RenameSettings {
  std::string pattern = "%d";              // "NewFName"
  std::string dateFormat = "mmm_dd_yyyy";  // "DateFormat"
  std::string timeFormat = "hh_mm";        // "TimeFormat"; empty: the stamp has no time
  std::string separator = "_";             // "Separator", between date and time
  int startNumber = 1;                     // "StartNumber", 0 or more
  int digits = 1;                          // "Digits", 1 to 10
  bool lowerCase = false;                  // "LowerCase"
};

inline constexpr int kMaxDigits = 10;
inline constexpr std::size_t kMaxSeparatorLength = 8;

// The choices the dialog offers.
inline constexpr const char* kPatternChoices[] = {"%d",      "%d image 00#",    "Eventname # (%d)",
                                                  "photo_#", "image_# date_%d", "img00#"};
inline constexpr const char* kDateFormatChoices[] = {"mmm_dd_yyyy", "mm_dd_yyyy", "yyyy_mmm_dd",
                                                     "dd_mm_yyyy",  "dddd-d-mmm", "ddd-d-mm-yyyy"};
inline constexpr const char* kTimeFormatChoices[] = {"hh_mm", "hh_mm_ss"};

// Reading stops at the first missing value and keeps the defaults from there.
RenameSettings readRenameSettings(platform::SettingsStore& store);
void writeRenameSettings(platform::SettingsStore& store, const RenameSettings& settings);

}  // namespace vistrel::rename
