#include "platform/desktop_entries.h"

#include <QLocale>
#include <QMimeDatabase>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::platform {
namespace fs = std::filesystem;

namespace {

// Larger files are not desktop entries; reading them would only cost memory.
constexpr std::uintmax_t kMaxEntrySize = 1 << 20;

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The escapes of string values: \s \n \t \r \\ (others stay as they are, for
// the list splitting and the Exec quoting that come after).
std::string unescapeValue(std::string_view value) {
  std::string result;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      result += value[i];
      continue;
    }
    const char next = value[++i];
    switch (next) {
      case 's':
        result += ' ';
        break;
      case 'n':
        result += '\n';
        break;
      case 't':
        result += '\t';
        break;
      case 'r':
        result += '\r';
        break;
      case '\\':
        result += '\\';
        break;
      default:
        result += '\\';
        result += next;
    }
  }
  return result;
}

std::vector<std::string> splitList(std::string_view value) {
  std::vector<std::string> items;
  std::string item;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == ';') {
      item += value[++i];
    } else if (value[i] == ';') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else {
      item += value[i];
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

// The locale keys a Name[...] may carry, best first: lang_COUNTRY@MODIFIER,
// lang_COUNTRY, lang@MODIFIER, lang.
std::vector<std::string> localeKeys(std::string_view locale) {
  std::string modifier;
  if (const auto at = locale.find('@'); at != std::string_view::npos) {
    modifier = std::string(locale.substr(at));
    locale = locale.substr(0, at);
  }
  locale = locale.substr(0, locale.find('.'));
  const std::string lang(locale.substr(0, locale.find('_')));
  std::vector<std::string> keys;
  if (lang.empty() || locale == "C" || locale == "POSIX") return keys;
  if (lang != locale) {
    if (!modifier.empty()) keys.push_back(std::string(locale) + modifier);
    keys.emplace_back(locale);
  }
  if (!modifier.empty()) keys.push_back(lang + modifier);
  keys.push_back(lang);
  return keys;
}

const std::map<std::string_view, std::string DesktopEntry::*> kTextKeys = {
    {"Type", &DesktopEntry::type}, {"Exec", &DesktopEntry::exec}, {"TryExec", &DesktopEntry::tryExec},
    {"Icon", &DesktopEntry::icon}};

constexpr std::size_t kNoName = std::size_t(-1);

// 0 for the best fitting locale key, keys.size() for plain "Name", kNoName for
// a key of another language or no Name key at all.
std::size_t nameRank(std::string_view key, const std::vector<std::string>& keys) {
  if (key == "Name") return keys.size();
  if (key.size() < 7 || key[4] != '[' || key.back() != ']') return kNoName;
  const auto found = std::find(keys.begin(), keys.end(), key.substr(5, key.size() - 6));
  return found == keys.end() ? kNoName : std::size_t(found - keys.begin());
}

bool executableFound(const std::string& program) {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!folders.empty()) {
    const auto colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    if (!folder.empty() && access((std::string(folder) + "/" + program).c_str(), X_OK) == 0) return true;
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
  }
  return false;
}

bool shown(const DesktopEntry& entry) {
  return !entry.hidden && !entry.noDisplay && !entry.terminal && entry.type == "Application" && !entry.exec.empty() &&
         (entry.tryExec.empty() || executableFound(entry.tryExec));
}

void collectEntries(const fs::path& folder, std::string_view locale, std::map<std::string, DesktopEntry>& entries) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    std::error_code entryError;
    if (it->path().extension() != ".desktop" || !it->is_regular_file(entryError) ||
        it->file_size(entryError) > kMaxEntrySize || entryError) {
      continue;
    }
    std::string id = it->path().lexically_relative(folder).string();
    std::replace(id.begin(), id.end(), '/', '-');
    if (entries.count(id)) continue;
    try {
      DesktopEntry entry = parseDesktopEntry(platform::readFile(it->path()), locale);
      entry.id = id;
      entry.file = it->path();
      entries.emplace(id, std::move(entry));
    } catch (const Error&) {
      // An unreadable entry offers nothing.
    }
  }
}

}  // namespace

DesktopEntry parseDesktopEntry(std::string_view text, std::string_view locale) {
  DesktopEntry entry;
  const std::vector<std::string> keys = localeKeys(locale);
  std::size_t bestName = kNoName;  // how well the Name taken so far fits the locale
  bool inGroup = false;
  while (!text.empty()) {
    const auto newline = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, newline));
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    const auto equals = line.find('=');
    if (!inGroup || equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(line.substr(0, equals));
    const std::string value = unescapeValue(trimmed(line.substr(equals + 1)));
    if (key.substr(0, 4) == "Name") {
      // Name, or Name[locale] when the locale fits better than what was taken.
      const std::size_t rank = nameRank(key, keys);
      if (rank < bestName) {
        entry.name = value;
        bestName = rank;
      }
    } else if (const auto field = kTextKeys.find(key); field != kTextKeys.end()) {
      entry.*(field->second) = value;
    } else if (key == "Hidden") {
      entry.hidden = value == "true";
    } else if (key == "NoDisplay") {
      entry.noDisplay = value == "true";
    } else if (key == "Terminal") {
      entry.terminal = value == "true";
    } else if (key == "MimeType") {
      entry.mimeTypes = splitList(value);
    }
  }
  return entry;
}

std::vector<std::string> splitCommandLine(std::string_view command) {
  std::vector<std::string> arguments;
  std::string argument;
  bool inArgument = false;
  bool quoted = false;
  for (std::size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < command.size() &&
                 std::string_view("\"`$\\").find(command[i + 1]) != std::string_view::npos) {
        argument += command[++i];
      } else {
        argument += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inArgument) arguments.push_back(std::move(argument));
      argument.clear();
      inArgument = false;
    } else {
      inArgument = true;
      if (c == '"') {
        quoted = true;
      } else if (c == '\\' && i + 1 < command.size()) {
        argument += command[++i];
      } else {
        argument += c;
      }
    }
  }
  if (quoted) throw Error("The command line has an unclosed quote: " + std::string(command));
  if (inArgument) arguments.push_back(std::move(argument));
  return arguments;
}

std::vector<std::string> commandLineFor(const DesktopEntry& entry, const fs::path& file) {
  std::vector<std::string> result;
  bool fileGiven = false;
  for (const std::string& argument : splitCommandLine(entry.exec)) {
    // A field code alone as an argument may stand for several arguments or none.
    if (argument == "%F" || argument == "%U") {
      result.push_back(file.string());
      fileGiven = true;
      continue;
    }
    if (argument == "%i") {
      if (!entry.icon.empty()) result.insert(result.end(), {"--icon", entry.icon});
      continue;
    }
    std::string expanded;
    for (std::size_t i = 0; i < argument.size(); ++i) {
      if (argument[i] != '%' || i + 1 == argument.size()) {
        expanded += argument[i];
        continue;
      }
      switch (argument[++i]) {
        case 'f':
        case 'F':
        case 'u':
        case 'U':
          expanded += file.string();
          fileGiven = true;
          break;
        case 'c':
          expanded += entry.name;
          break;
        case 'k':
          expanded += entry.file.string();
          break;
        case '%':
          expanded += '%';
          break;
        default:
          break;  // deprecated and unknown codes stand for nothing
      }
    }
    // An argument made only of dropped codes goes with them.
    if (!expanded.empty() || argument.empty()) result.push_back(std::move(expanded));
  }
  if (result.empty() || result.front().empty()) throw Error("The program to open the file with has no command.");
  if (!fileGiven) result.push_back(file.string());
  return result;
}

std::vector<fs::path> applicationFolders() {
  std::vector<fs::path> folders;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (dataHome && *dataHome) {
    folders.push_back(fs::path(dataHome) / "applications");
  } else if (home && *home) {
    folders.push_back(fs::path(home) / ".local/share/applications");
  }
  const char* dataDirs = std::getenv("XDG_DATA_DIRS");
  std::string_view dirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
  while (!dirs.empty()) {
    const auto colon = dirs.find(':');
    if (colon != 0) folders.push_back(fs::path(dirs.substr(0, colon)) / "applications");
    dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
  }
  return folders;
}

std::vector<DesktopEntry> applicationsFor(const std::vector<std::string>& mimeTypes,
                                          const std::vector<fs::path>& folders, std::string_view locale) {
  std::map<std::string, DesktopEntry> entries;
  for (const fs::path& folder : folders) collectEntries(folder, locale, entries);
  const std::set<std::string> wanted(mimeTypes.begin(), mimeTypes.end());
  std::vector<DesktopEntry> result;
  for (auto& [id, entry] : entries) {
    const bool opens = std::any_of(entry.mimeTypes.begin(), entry.mimeTypes.end(),
                                   [&](const std::string& type) { return wanted.count(type) > 0; });
    if (opens && shown(entry)) result.push_back(std::move(entry));
  }
  std::stable_sort(result.begin(), result.end(),
                   [](const DesktopEntry& a, const DesktopEntry& b) { return a.name < b.name; });
  return result;
}

std::vector<std::string> mimeTypesOf(const std::filesystem::path& file) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(file.string()));
  const QStringList names = QStringList{type.name()} + type.aliases() + type.allAncestors();
  std::vector<std::string> result;
  for (const QString& name : names) result.push_back(name.toStdString());
  return result;
}

std::string messagesLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(variable);
    if (!value.isEmpty()) return value.toStdString();
  }
  return QLocale().name().toStdString();
}

}  // namespace vistrel::platform
