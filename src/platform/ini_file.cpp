#include "platform/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::platform {

IniFile IniFile::load(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  return parse(readFile(file));
}

IniFile IniFile::parse(std::string_view bytes) {
  const std::string decoded = textFromFile(bytes);
  std::string_view text = decoded;
  IniFile ini;
  Section* current = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = trimBlanks(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
      current = ini.findSection(name);
      if (!current) current = &ini.sections_.emplace_back(Section{std::string(name), {}});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!current || equals == std::string_view::npos) continue;
    const std::string_view key = trimBlanks(line.substr(0, equals));
    // The first of two equal keys wins, as lookups find it first.
    current->entries.push_back({std::string(key), std::string(line.substr(equals + 1))});
  }
  return ini;
}

std::string IniFile::text() const {
  std::string out;
  for (const Section& section : sections_) {
    out += "[" + section.name + "]\r\n";
    for (const Entry& entry : section.entries) out += entry.key + "=" + entry.value + "\r\n";
    out += "\r\n";
  }
  return out;
}

void IniFile::save(const std::filesystem::path& file) const { writeFileAtomically(file, text()); }

IniFile::Section* IniFile::findSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (equalsIgnoreCase(section.name, name)) return &section;
  }
  return nullptr;
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
  return readString(section, key).has_value();
}

std::vector<std::string> IniFile::sections() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* found = findSection(section)) {
    for (const Entry& entry : found->entries) names.push_back(entry.key);
  }
  return names;
}

std::optional<std::string> IniFile::readString(std::string_view section, std::string_view key) const {
  const Section* found = findSection(section);
  if (!found) return std::nullopt;
  for (const Entry& entry : found->entries) {
    if (equalsIgnoreCase(entry.key, key)) return std::string(trimBlanks(entry.value));
  }
  return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  return readString(section, key).value_or(std::string(fallback));
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
  const auto text = readString(section, key);
  const auto value = text ? parseInteger(*text) : std::nullopt;
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return fallback;
  return static_cast<int>(*value);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
  const auto text = readString(section, key);
  const auto value = text ? parseInteger(*text) : std::nullopt;
  return value ? *value != 0 : fallback;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  // A line break inside a value would start a new line of the file.
  std::string clean(value);
  std::replace(clean.begin(), clean.end(), '\r', ' ');
  std::replace(clean.begin(), clean.end(), '\n', ' ');
  Section* found = findSection(section);
  if (!found) found = &sections_.emplace_back(Section{std::string(section), {}});
  for (Entry& entry : found->entries) {
    if (equalsIgnoreCase(entry.key, key)) {
      entry.value = std::move(clean);
      return;
    }
  }
  found->entries.push_back({std::string(key), std::move(clean)});
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::eraseSection(std::string_view section) {
  std::erase_if(sections_, [&](const Section& s) { return equalsIgnoreCase(s.name, section); });
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
  if (Section* found = findSection(section)) {
    std::erase_if(found->entries, [&](const Entry& e) { return equalsIgnoreCase(e.key, key); });
  }
}

}  // namespace vistrel::platform
