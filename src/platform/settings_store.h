#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace vistrel::platform {

// Thrown when a value is missing or holds another type. Readers of settings
// catch it to stop at the first failure and keep the defaults for the rest.
class SettingsError : public Error {
 public:
  using Error::Error;
};

enum class ValueType { String, Dword, Binary };

struct SettingsValue {
  std::string name;
  ValueType type = ValueType::String;
  std::string text;             // String
  std::uint32_t dword = 0;      // Dword
  std::vector<std::uint8_t> bytes;  // Binary
};

class SettingsStore;

// An open key, addressed like "Software\Kelmora\Vistrel\History". Reads come
// from the store's memory; writes are kept there and reach the file at
// SettingsStore::flush() (or when the store is destroyed).
class SettingsKey {
 public:
  const std::string& path() const { return path_; }

  bool valueExists(std::string_view name) const;
  std::vector<std::string> valueNames() const;  // in creation order
  ValueType valueType(std::string_view name) const;

  std::string readString(std::string_view name) const;
  std::uint32_t readDword(std::string_view name) const;
  std::int32_t readInteger(std::string_view name) const;
  bool readBool(std::string_view name) const;  // a DWORD other than 0
  std::vector<std::uint8_t> readBinary(std::string_view name) const;

  void writeString(std::string_view name, std::string_view value);
  void writeDword(std::string_view name, std::uint32_t value);
  void writeInteger(std::string_view name, std::int32_t value);
  void writeBool(std::string_view name, bool value);
  void writeBinary(std::string_view name, const std::vector<std::uint8_t>& value);
  void deleteValue(std::string_view name);

 private:
  friend class SettingsStore;
  SettingsKey(SettingsStore& store, std::string path) : store_(&store), path_(std::move(path)) {}
  const SettingsValue& value(std::string_view name) const;

  SettingsStore* store_;
  std::string path_;
};

// The per-user settings tree that stands in for the registry: keys with typed
// values, kept in one readable file (settings.reg in the configuration folder).
//
// Saving is atomic and durable (temporary file, fsync, rename), so a process
// killed while saving leaves the old or the new file. Changes are kept as a
// list of operations and replayed on the file as it is on disk, under an
// exclusive lock, so two processes that change different values both keep
// theirs. A file that cannot be parsed is moved aside and reported.
class SettingsStore {
 public:
  explicit SettingsStore(std::filesystem::path file = defaultFile());
  ~SettingsStore();  // flushes; failures are logged, never thrown
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // $VISTREL_CONFIG_DIR/settings.reg, else $XDG_CONFIG_HOME/vistrel/settings.reg.
  static std::filesystem::path defaultFile();

  bool keyExists(std::string_view path) const;
  // Nothing when the key is missing and create is false.
  std::optional<SettingsKey> openKey(std::string_view path, bool create);
  // Deletes the key with all its sub-keys.
  void deleteKey(std::string_view path);
  std::vector<std::string> subKeyNames(std::string_view path) const;

  // Writes pending changes to the file. Throws Error when the file cannot be written.
  void flush();
  // Drops what is in memory and reads the file again (pending changes are kept).
  void reload();

  const std::filesystem::path& file() const { return file_; }

  struct Key {
    std::string path;  // as first written
    std::vector<SettingsValue> values;
  };
  using Tree = std::map<std::string, Key>;  // by lower-cased path
  struct Change;

 private:
  friend class SettingsKey;
  void apply(const Change& change);
  void record(Change change);
  Key* findKey(std::string_view path);
  const Key* findKey(std::string_view path) const;

  std::filesystem::path file_;
  Tree tree_;
  std::vector<std::shared_ptr<const Change>> pending_;
};

// The program's own key.
inline constexpr std::string_view kProgramKey = "Software\\Kelmora\\Vistrel";

}  // namespace vistrel::platform
