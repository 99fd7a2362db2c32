#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::platform {

// An INI text file as the settings files (.vgc) and IPTC templates (.vit) use
// it: sections and keys keep the order they were written in, names match
// without regard to case, values lose blanks at both ends on reading, and the
// file is written with CR LF line ends.
class IniFile {
 public:
  IniFile() = default;

  // A missing file gives an empty IniFile; an unreadable one throws Error.
  static IniFile load(const std::filesystem::path& file);
  // The file's bytes go through textFromFile: older programs wrote Latin-1.
  static IniFile parse(std::string_view bytes);
  // Replaces the file only once the new one is complete. Throws Error.
  void save(const std::filesystem::path& file) const;
  std::string text() const;

  bool hasSection(std::string_view section) const;
  bool hasKey(std::string_view section, std::string_view key) const;
  std::vector<std::string> sections() const;
  std::vector<std::string> keys(std::string_view section) const;

  std::optional<std::string> readString(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // The fallback for a missing value or one that is not a decimal integer.
  int readInteger(std::string_view section, std::string_view key, int fallback) const;
  // Any integer other than 0 is true; a value that is not an integer is missing.
  bool readBool(std::string_view section, std::string_view key, bool fallback) const;

  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);
  void eraseSection(std::string_view section);
  void deleteKey(std::string_view section, std::string_view key);

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  Section* findSection(std::string_view name);
  const Section* findSection(std::string_view name) const;

  std::vector<Section> sections_;
};

}  // namespace vistrel::platform
