#pragma once

#include <array>
#include <string>
#include <vector>

#include "browser/list_sorting.h"
#include "browser/view_style.h"
#include "platform/settings_store.h"

namespace vistrel::app {

using browser::kColumnCount;
using browser::ViewStyle;

inline constexpr int kHistorySize = 10;

// The main window's layout and view settings, kept in the program key.
struct MainSettings {
  int sortCol = 0;
  bool showProperties = false;
  bool includeAllFiles = false;
  bool gridlines = false;
  std::string fontName = "Tahoma";
  int programFontSize = 8;
  std::string activeFolder;
  int fileListHeight = 239;
  std::array<int, kColumnCount> colWidths{130, 80, 120, 120, 100, 50};
  ViewStyle viewStyle = ViewStyle::Details;
  int previewThumbSize = 80;
  bool viewPos = false;
  int imageBoxH = 187;
  int explorerWidth = 203;
  int topPos = 25, leftPos = 50, width = 0, height = 0;
  bool maximized = false;
  bool inclIptc = true;
  bool showIptcColumn = false;
  int infoHeight = 97;
  std::string activeInfoTab;
  std::array<int, kColumnCount> columnOrder{0, 1, 2, 3, 4, 5};

  bool operator==(const MainSettings&) const = default;
};

// Reads the stored settings over `settings` in their fixed order. The first
// value that is missing or of another type ends the reading; the values read
// before it stay. A missing program key reads nothing.
void readMainSettings(platform::SettingsStore& store, MainSettings& settings);
// Writes every value and the column order.
void writeMainSettings(platform::SettingsStore& store, const MainSettings& settings);

// The "Columns"/"Order" text: indexes joined by ",". A text that is not an
// order of all six columns gives the natural order.
std::array<int, kColumnCount> parseColumnOrder(const std::string& text);
std::string columnOrderText(const std::array<int, kColumnCount>& order);

// The history sub-key: its values in stored order.
std::vector<std::string> readHistory(platform::SettingsStore& store);
// Replaces the sub-key by the first ten entries; empty ones get no value.
void writeHistory(platform::SettingsStore& store, const std::vector<std::string>& entries);

}  // namespace vistrel::app
