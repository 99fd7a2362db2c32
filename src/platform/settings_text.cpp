#include "platform/settings_text.h"

#include <cstdio>

#include "platform/text.h"

namespace vistrel::platform {
namespace {

std::string escapedText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned char>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string valueText(const SettingsValue& value) {
  char buffer[16];
  switch (value.type) {
    case ValueType::String:
      return escapedText(value.text);
    case ValueType::Dword:
      std::snprintf(buffer, sizeof buffer, "dword:%08x", value.dword);
      return buffer;
    case ValueType::Binary: {
      std::string out = "hex:";
      for (std::size_t i = 0; i < value.bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x", value.bytes[i]);
        out += buffer;
      }
      return out;
    }
  }
  return {};
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the bytes of a line; any deviation from the written form throws.
class LineReader {
 public:
  LineReader(std::string_view line, int number) : rest_(line), number_(number) {}

  [[noreturn]] void fail(const char* what) const {
    throw Error("line " + std::to_string(number_) + ": " + what);
  }
  bool take(std::string_view prefix) {
    if (!rest_.starts_with(prefix)) return false;
    rest_.remove_prefix(prefix.size());
    return true;
  }
  bool atEnd() const { return rest_.empty(); }

  std::string quotedText() {
    if (!take("\"")) fail("a quoted text was expected");
    std::string out;
    while (!rest_.empty()) {
      const char c = next();
      if (c == '"') return out;
      out += c == '\\' ? escaped() : c;
    }
    fail("a quoted text is not closed");
  }

  std::uint32_t hexNumber(std::size_t digits) {
    if (rest_.size() < digits) fail("a hexadecimal number is too short");
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
      const int d = hexDigit(next());
      if (d < 0) fail("a hexadecimal digit was expected");
      value = value << 4 | static_cast<std::uint32_t>(d);
    }
    return value;
  }

 private:
  char next() {
    const char c = rest_.front();
    rest_.remove_prefix(1);
    return c;
  }
  char escaped() {
    if (rest_.empty()) fail("an escape is cut off");
    switch (const char c = next()) {
      case 'n': return '\n';
      case 'r': return '\r';
      case 't': return '\t';
      case 'x': return static_cast<char>(hexNumber(2));
      case '\\':
      case '"': return c;
      default: fail("an unknown escape");
    }
  }

  std::string_view rest_;
  int number_;
};

SettingsValue parseValue(LineReader& line) {
  SettingsValue value;
  value.name = line.quotedText();
  if (!line.take("=")) line.fail("\"=\" was expected");
  if (line.take("dword:")) {
    value.type = ValueType::Dword;
    value.dword = line.hexNumber(8);
  } else if (line.take("hex:")) {
    value.type = ValueType::Binary;
    while (!line.atEnd()) {
      if (!value.bytes.empty() && !line.take(",")) line.fail("\",\" was expected");
      value.bytes.push_back(static_cast<std::uint8_t>(line.hexNumber(2)));
    }
  } else {
    value.text = line.quotedText();
  }
  if (!line.atEnd()) line.fail("unexpected text after the value");
  return value;
}

}  // namespace

std::string settingsText(const SettingsStore::Tree& tree) {
  std::string out = "; Vistrel settings\n";
  for (const auto& [index, key] : tree) {
    out += "\n[" + key.path + "]\n";
    for (const SettingsValue& value : key.values) out += escapedText(value.name) + "=" + valueText(value) + "\n";
  }
  return out;
}

SettingsStore::Tree parseSettingsText(std::string_view text) {
  SettingsStore::Tree tree;
  SettingsStore::Key* current = nullptr;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);  // edited on a system that ends lines with CR LF
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 3) LineReader(line, number).fail("a key name is not closed");
      const std::string path(line.substr(1, line.size() - 2));
      current = &tree.try_emplace(asciiLower(path), SettingsStore::Key{path, {}}).first->second;
      continue;
    }
    LineReader reader(line, number);
    if (!current) reader.fail("a value stands before any key");
    current->values.push_back(parseValue(reader));
  }
  return tree;
}

}  // namespace vistrel::platform
