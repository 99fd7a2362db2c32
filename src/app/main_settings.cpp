#include "app/main_settings.h"

#include <algorithm>
#include <functional>

#include "platform/text.h"

namespace vistrel::app {
namespace {

using platform::SettingsKey;
using M = MainSettings;

struct Field {
  std::string name;
  std::function<void(const SettingsKey&, M&)> read;
  std::function<void(SettingsKey&, const M&)> write;
};

Field boolean(std::string name, bool M::*member) {
  return {name, [=](const SettingsKey& k, M& s) { s.*member = k.readBool(name); },
          [=](SettingsKey& k, const M& s) { k.writeBool(name, s.*member); }};
}

Field integer(std::string name, int M::*member, int low = INT32_MIN, int high = INT32_MAX) {
  return {name, [=](const SettingsKey& k, M& s) { s.*member = std::clamp(k.readInteger(name), low, high); },
          [=](SettingsKey& k, const M& s) { k.writeInteger(name, s.*member); }};
}

Field text(std::string name, std::string M::*member) {
  return {name, [=](const SettingsKey& k, M& s) { s.*member = k.readString(name); },
          [=](SettingsKey& k, const M& s) { k.writeString(name, s.*member); }};
}

Field columnWidth(int column) {
  const std::string name = "Col" + std::to_string(column) + "Width";
  return {name, [=](const SettingsKey& k, M& s) { s.colWidths[column] = k.readInteger(name); },
          [=](SettingsKey& k, const M& s) { k.writeInteger(name, s.colWidths[column]); }};
}

Field viewStyle() {
  return {"ViewStyle",
          [](const SettingsKey& k, M& s) {
            const int code = k.readInteger("ViewStyle");
            s.viewStyle = code >= 0 && code <= 3 ? ViewStyle(code) : ViewStyle::Details;
          },
          [](SettingsKey& k, const M& s) { k.writeInteger("ViewStyle", int(s.viewStyle)); }};
}

// Every value in the order the settings are read.
const std::vector<Field>& fields() {
  static const std::vector<Field> table = [] {
    std::vector<Field> f{
        integer("SortCol", &M::sortCol, 0, kColumnCount - 1),
        boolean("ShowProperties", &M::showProperties),
        boolean("IncludeAllFiles", &M::includeAllFiles),
        boolean("Gridlines", &M::gridlines),
        text("FontName", &M::fontName),
        integer("ProgramFontSize", &M::programFontSize, 6, 16),
        text("ActiveFolder", &M::activeFolder),
        integer("FileListHeight", &M::fileListHeight),
    };
    for (int column = 0; column < kColumnCount; ++column) f.push_back(columnWidth(column));
    for (Field& field : std::vector<Field>{
             viewStyle(),
             integer("PreviewThumbSize", &M::previewThumbSize, 40, 200),
             boolean("ViewPos", &M::viewPos),
             integer("ImageBoxH", &M::imageBoxH),
             integer("ExplorerWidth", &M::explorerWidth),
             integer("TopPos", &M::topPos),
             integer("LeftPos", &M::leftPos),
             integer("Width", &M::width),
             integer("Height", &M::height),
             boolean("Maximized", &M::maximized),
             boolean("InclIPTC", &M::inclIptc),
             boolean("ShowIptcColumn", &M::showIptcColumn),
             integer("InfoHeight", &M::infoHeight),
             text("ActiveInfoTab", &M::activeInfoTab),
         }) {
      f.push_back(std::move(field));
    }
    return f;
  }();
  return table;
}

// The order in which the values are written when the window closes.
constexpr const char* kWriteOrder[] = {
    "SortCol",   "InclIPTC",  "ShowProperties", "IncludeAllFiles", "Gridlines",     "FontName",
    "ProgramFontSize", "ActiveFolder", "TopPos", "LeftPos",        "Width",         "Height",
    "Maximized", "FileListHeight", "Col0Width", "Col1Width",       "Col2Width",     "Col3Width",
    "Col4Width", "Col5Width", "ViewStyle",      "PreviewThumbSize", "ViewPos",       "ImageBoxH",
    "ExplorerWidth", "InfoHeight", "ActiveInfoTab", "ShowIptcColumn"};

const Field& field(std::string_view name) {
  const auto& all = fields();
  return *std::find_if(all.begin(), all.end(), [&](const Field& f) { return f.name == name; });
}

std::string subKey(std::string_view name) { return std::string(platform::kProgramKey) + "\\" + std::string(name); }

}  // namespace

std::array<int, kColumnCount> parseColumnOrder(const std::string& text) {
  std::array<int, kColumnCount> order{};
  std::size_t count = 0, start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (count == order.size()) return {0, 1, 2, 3, 4, 5};
    order[count++] = int(platform::parseInteger(text.substr(start, comma - start)).value_or(0));
    start = comma + 1;
  }
  auto sorted = order;
  std::sort(sorted.begin(), sorted.end());
  if (count != order.size() || sorted != std::array<int, kColumnCount>{0, 1, 2, 3, 4, 5}) return {0, 1, 2, 3, 4, 5};
  return order;
}

std::string columnOrderText(const std::array<int, kColumnCount>& order) {
  std::string text;
  for (int column : order) text += (text.empty() ? "" : ",") + std::to_string(column);
  return text;
}

void readMainSettings(platform::SettingsStore& store, MainSettings& settings) {
  const auto key = store.openKey(platform::kProgramKey, false);
  if (!key) return;
  try {
    for (const Field& f : fields()) f.read(*key, settings);
    const auto columns = store.openKey(subKey("Columns"), false);
    if (columns) settings.columnOrder = parseColumnOrder(columns->readString("Order"));
  } catch (const platform::SettingsError&) {
    // The first missing or mistyped value ends the reading; the rest keep their defaults.
  }
}

void writeMainSettings(platform::SettingsStore& store, const MainSettings& settings) {
  auto key = store.openKey(platform::kProgramKey, true);
  for (const char* name : kWriteOrder) field(name).write(*key, settings);
  store.openKey(subKey("Columns"), true)->writeString("Order", columnOrderText(settings.columnOrder));
}

std::vector<std::string> readHistory(platform::SettingsStore& store) {
  auto key = store.openKey(subKey("History"), true);
  std::vector<std::string> entries;
  for (const std::string& name : key->valueNames()) {
    if (key->valueType(name) == platform::ValueType::String) entries.push_back(key->readString(name));
  }
  return entries;
}

void writeHistory(platform::SettingsStore& store, const std::vector<std::string>& entries) {
  store.deleteKey(subKey("History"));
  auto key = store.openKey(subKey("History"), true);
  for (std::size_t n = 0; n < entries.size() && n < kHistorySize; ++n) {
    if (!entries[n].empty()) key->writeString("History" + std::to_string(n), entries[n]);
  }
}

}  // namespace vistrel::app
