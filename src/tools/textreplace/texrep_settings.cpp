#include "tools/textreplace/texrep_settings.h"

#include <algorithm>
#include <array>

namespace vistrel::textreplace {
namespace {

constexpr std::array<std::string_view, 5> kMasks = {"*.htm;*.shtml;*.dhtml;*.css", "*.htm", "*.css", "*.txt", "*.*"};
constexpr int kHistoryLength = 10;

std::string keyPath() { return std::string(platform::kProgramKey) + "\\TexRep"; }

// Value names "FindText0" (the newest) to "FindText9".
std::vector<std::string> readHistory(const platform::SettingsKey& key, const std::string& name) {
  std::vector<std::string> history;
  for (int digit = kHistoryLength - 1; digit >= 0; --digit) {
    const std::string value = name + std::to_string(digit);
    if (key.valueExists(value) && key.valueType(value) == platform::ValueType::String) {
      addToHistory(history, key.readString(value));
    }
  }
  return history;
}

void writeHistory(platform::SettingsKey& key, const std::string& name, const std::vector<std::string>& history) {
  const int count = int(history.size());
  for (int digit = 0; digit < kHistoryLength && digit < count; ++digit) {
    const std::string& text = history[std::size_t(count - 1 - digit)];
    if (!text.empty()) key.writeString(name + std::to_string(digit), text);
  }
}

}  // namespace

std::span<const std::string_view> fileMaskItems() { return kMasks; }

TexRepSettings readTexRepSettings(platform::SettingsStore& store) {
  TexRepSettings settings;
  const auto key = store.openKey(keyPath(), false);
  if (!key) return settings;
  try {
    settings.caseSensitive = key->readBool("CaseSensitive");
    settings.wholeWords = key->readBool("WholeWords");
    settings.backup = key->readBool("Backup");
    const int mask = key->readInteger("FileMask");
    if (mask >= 0 && mask < int(kMasks.size())) settings.fileMask = mask;
  } catch (const platform::SettingsError&) {
    settings.caseSensitive = false;
    settings.wholeWords = settings.backup = true;
  }
  settings.findHistory = readHistory(*key, "FindText");
  settings.replaceHistory = readHistory(*key, "ReplaceText");
  return settings;
}

void writeTexRepSettings(platform::SettingsStore& store, const TexRepSettings& settings) {
  auto key = store.openKey(keyPath(), true);
  key->writeBool("CaseSensitive", settings.caseSensitive);
  key->writeBool("WholeWords", settings.wholeWords);
  key->writeBool("Backup", settings.backup);
  key->writeInteger("FileMask", settings.fileMask);
  writeHistory(*key, "FindText", settings.findHistory);
  writeHistory(*key, "ReplaceText", settings.replaceHistory);
  store.flush();
}

void addToHistory(std::vector<std::string>& history, const std::string& text) {
  if (!text.empty() && std::find(history.begin(), history.end(), text) == history.end()) history.push_back(text);
}

}  // namespace vistrel::textreplace
