#include "platform/settings_store.h"

#include <algorithm>
#include <cstdio>
#include <variant>

#include "platform/dates.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/program_data.h"
#include "platform/settings_text.h"
#include "platform/text.h"

namespace vistrel::platform {

struct SettingsStore::Change {
  struct SetValue {
    std::string key;
    SettingsValue value;
  };
  struct DeleteValue {
    std::string key;
    std::string name;
  };
  struct CreateKey {
    std::string key;
  };
  struct DeleteKey {
    std::string key;
  };
  std::variant<SetValue, DeleteValue, CreateKey, DeleteKey> what;
};

namespace {

// "\Software\\Kelmora\" and "Software\Kelmora" name the same key.
std::string normalPath(std::string_view path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string treeIndex(std::string_view path) { return asciiLower(normalPath(path)); }

bool isUnder(const std::string& index, const std::string& parentIndex) {
  return index == parentIndex ||
         (index.size() > parentIndex.size() && index.compare(0, parentIndex.size(), parentIndex) == 0 &&
          index[parentIndex.size()] == '\\');
}

SettingsStore::Key& ensureKey(SettingsStore::Tree& tree, std::string_view path) {
  const std::string normal = normalPath(path);
  // A key's parents exist whenever it does.
  for (std::size_t cut = normal.find('\\'); cut != std::string::npos; cut = normal.find('\\', cut + 1)) {
    tree.try_emplace(asciiLower(normal.substr(0, cut)), SettingsStore::Key{normal.substr(0, cut), {}});
  }
  return tree.try_emplace(asciiLower(normal), SettingsStore::Key{normal, {}}).first->second;
}

auto findValue(std::vector<SettingsValue>& values, std::string_view name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const SettingsValue& v) { return equalsIgnoreCase(v.name, name); });
}

struct Applier {
  SettingsStore::Tree& tree;

  void operator()(const SettingsStore::Change::SetValue& c) const {
    auto& values = ensureKey(tree, c.key).values;
    if (auto it = findValue(values, c.value.name); it != values.end()) {
      const std::string name = it->name;  // the name keeps the case it was created with
      *it = c.value;
      it->name = name;
    } else {
      values.push_back(c.value);
    }
  }
  void operator()(const SettingsStore::Change::DeleteValue& c) const {
    if (auto it = tree.find(treeIndex(c.key)); it != tree.end()) {
      std::erase_if(it->second.values, [&](const SettingsValue& v) { return equalsIgnoreCase(v.name, c.name); });
    }
  }
  void operator()(const SettingsStore::Change::CreateKey& c) const { ensureKey(tree, c.key); }
  void operator()(const SettingsStore::Change::DeleteKey& c) const {
    const std::string index = treeIndex(c.key);
    std::erase_if(tree, [&](const auto& entry) { return isUnder(entry.first, index); });
  }
};

// Saves of all processes of this user take turns on a file beside the store.
std::filesystem::path lockFile(const std::filesystem::path& settingsFile) { return settingsFile.string() + ".lock"; }

std::string timestamp() {
  const DateTime now = localNow();
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day, now.hour,
                now.minute, now.second);
  return text;
}

// A name beside the file that no earlier damaged copy has taken.
std::filesystem::path asideName(const std::filesystem::path& file) {
  const std::string base = file.string() + ".damaged-" + timestamp();
  std::filesystem::path aside = base;
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(aside, ec)); ++n) {
    aside = base + "-" + std::to_string(n);
  }
  return aside;
}

// Reads the file as it is on disk. A file that cannot be parsed is moved aside
// (the caller holds the lock) and an empty tree is used.
SettingsStore::Tree readTree(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  if (std::filesystem::is_directory(file, ec)) {
    log::warning("The settings file " + file.string() + " is a folder, not a file; the defaults are used.");
    return {};
  }
  std::string problem;
  try {
    return parseSettingsText(readFile(file));
  } catch (const Error& e) {
    problem = e.what();
  }
  const std::filesystem::path aside = asideName(file);
  std::filesystem::rename(file, aside, ec);
  log::warning("The settings file " + file.string() + " is damaged (" + problem + "); " +
               (ec ? "it could not be moved aside (" + ec.message() + ")" : "it was moved to " + aside.string()) +
               " and the defaults are used.");
  return {};
}

// Saves replace the file by a rename, so a reader needs the lock only to keep
// from moving aside a file another process is saving. A configuration folder
// the user cannot write to has no lock file: its settings are read without.
std::optional<FileLock> lockForReading(const std::filesystem::path& settingsFile) {
  try {
    return std::optional<FileLock>(std::in_place, lockFile(settingsFile));
  } catch (const Error&) {
    return std::nullopt;
  }
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);  // a failure shows when a change is saved
  const auto lock = lockForReading(file_);
  tree_ = readTree(file_);
}

SettingsStore::~SettingsStore() {
  try {
    flush();
  } catch (const std::exception& e) {
    log::error(std::string("Settings were not saved: ") + e.what());
  }
}

std::filesystem::path SettingsStore::defaultFile() { return configFolder() / "settings.reg"; }

void SettingsStore::apply(const Change& change) { std::visit(Applier{tree_}, change.what); }

void SettingsStore::record(Change change) {
  auto shared = std::make_shared<const Change>(std::move(change));
  apply(*shared);
  pending_.push_back(std::move(shared));
}

SettingsStore::Key* SettingsStore::findKey(std::string_view path) {
  auto it = tree_.find(treeIndex(path));
  return it == tree_.end() ? nullptr : &it->second;
}

const SettingsStore::Key* SettingsStore::findKey(std::string_view path) const {
  auto it = tree_.find(treeIndex(path));
  return it == tree_.end() ? nullptr : &it->second;
}

bool SettingsStore::keyExists(std::string_view path) const { return findKey(path) != nullptr; }

std::optional<SettingsKey> SettingsStore::openKey(std::string_view path, bool create) {
  if (!keyExists(path)) {
    if (!create) return std::nullopt;
    record({Change::CreateKey{normalPath(path)}});
  }
  return SettingsKey(*this, normalPath(path));
}

void SettingsStore::deleteKey(std::string_view path) { record({Change::DeleteKey{normalPath(path)}}); }

std::vector<std::string> SettingsStore::subKeyNames(std::string_view path) const {
  const std::string index = treeIndex(path);
  std::vector<std::string> names;
  for (const auto& [childIndex, key] : tree_) {
    if (childIndex.size() <= index.size() + 1 || !isUnder(childIndex, index)) continue;
    const std::string rest = key.path.substr(index.size() + 1);
    if (rest.find('\\') == std::string::npos) names.push_back(rest);
  }
  return names;
}

void SettingsStore::flush() {
  if (pending_.empty()) return;
  FileLock lock(lockFile(file_));
  Tree fresh = readTree(file_);
  for (const auto& change : pending_) std::visit(Applier{fresh}, change->what);
  writeFileAtomically(file_, settingsText(fresh));
  tree_ = std::move(fresh);
  pending_.clear();
}

void SettingsStore::reload() {
  const auto lock = lockForReading(file_);
  tree_ = readTree(file_);
  for (const auto& change : pending_) apply(*change);
}

// ---- SettingsKey

const SettingsValue& SettingsKey::value(std::string_view name) const {
  if (const auto* key = store_->findKey(path_)) {
    for (const SettingsValue& v : key->values) {
      if (equalsIgnoreCase(v.name, name)) return v;
    }
  }
  throw SettingsError("The setting \"" + std::string(name) + "\" does not exist");
}

bool SettingsKey::valueExists(std::string_view name) const {
  const auto* key = store_->findKey(path_);
  return key && std::any_of(key->values.begin(), key->values.end(),
                            [&](const SettingsValue& v) { return equalsIgnoreCase(v.name, name); });
}

std::vector<std::string> SettingsKey::valueNames() const {
  std::vector<std::string> names;
  if (const auto* key = store_->findKey(path_)) {
    for (const SettingsValue& v : key->values) names.push_back(v.name);
  }
  return names;
}

ValueType SettingsKey::valueType(std::string_view name) const { return value(name).type; }

namespace {
const SettingsValue& ofType(const SettingsValue& v, ValueType type) {
  if (v.type != type) throw SettingsError("The setting \"" + v.name + "\" has another type");
  return v;
}
}  // namespace

std::string SettingsKey::readString(std::string_view name) const {
  return ofType(value(name), ValueType::String).text;
}
std::uint32_t SettingsKey::readDword(std::string_view name) const {
  return ofType(value(name), ValueType::Dword).dword;
}
std::int32_t SettingsKey::readInteger(std::string_view name) const {
  return static_cast<std::int32_t>(readDword(name));
}
bool SettingsKey::readBool(std::string_view name) const { return readDword(name) != 0; }
std::vector<std::uint8_t> SettingsKey::readBinary(std::string_view name) const {
  return ofType(value(name), ValueType::Binary).bytes;
}

void SettingsKey::writeString(std::string_view name, std::string_view text) {
  store_->record({SettingsStore::Change::SetValue{path_, {std::string(name), ValueType::String, std::string(text), 0, {}}}});
}
void SettingsKey::writeDword(std::string_view name, std::uint32_t dword) {
  store_->record({SettingsStore::Change::SetValue{path_, {std::string(name), ValueType::Dword, {}, dword, {}}}});
}
void SettingsKey::writeInteger(std::string_view name, std::int32_t value) {
  writeDword(name, static_cast<std::uint32_t>(value));
}
void SettingsKey::writeBool(std::string_view name, bool value) { writeDword(name, value ? 1 : 0); }
void SettingsKey::writeBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) {
  store_->record({SettingsStore::Change::SetValue{path_, {std::string(name), ValueType::Binary, {}, 0, bytes}}});
}
void SettingsKey::deleteValue(std::string_view name) {
  store_->record({SettingsStore::Change::DeleteValue{path_, std::string(name)}});
}

}  // namespace vistrel::platform
