#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_store.h"

namespace vistrel::textreplace {

// The masks the file list offers, HTML and CSS first.
std::span<const std::string_view> fileMaskItems();

// The text replace window's choices, kept in the sub-key "TexRep".
struct TexRepSettings {
  bool caseSensitive = false;
  bool wholeWords = true;
  bool backup = true;
  int fileMask = 0;  // index into fileMaskItems()
  // The last ten find and replace texts, the oldest first.
  std::vector<std::string> findHistory;
  std::vector<std::string> replaceHistory;
};

// A missing or mistyped switch or mask index gives the defaults of the three
// switches (the mask stays the first); the histories are read either way.
TexRepSettings readTexRepSettings(platform::SettingsStore& store);
// Keeps the newest ten entries of each history, without empty ones.
void writeTexRepSettings(platform::SettingsStore& store, const TexRepSettings& settings);

// Appends the text as the newest entry unless it is empty or there already.
void addToHistory(std::vector<std::string>& history, const std::string& text);

}  // namespace vistrel::textreplace
