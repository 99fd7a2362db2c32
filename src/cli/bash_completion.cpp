#include "cli/bash_completion.h"

#include <algorithm>
#include <string_view>

#include "cli/command.h"
#include "gallery/settings_fields.h"

namespace vistrel::cli {
namespace {

std::string singleQuoted(std::string_view text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// What the script offers for an option's value, told by the name its help
// gives the value: "file EXT", "dir", "words A B C", "key", "site" or "text".
std::string valueKind(std::string_view valueName) {
  if (valueName.find("Key=") != std::string_view::npos) return "key";
  if (valueName == "SITE") return "site";
  if (valueName == "DIR" || valueName == "FOLDER") return "dir";
  if (valueName.find('|') != std::string_view::npos) {
    std::string words = "words ";
    for (const char c : valueName) words += c == '|' ? ' ' : c;
    return words;
  }
  if (valueName == "FILE") return "file";
  const auto dot = valueName.rfind('.');
  if (dot != std::string_view::npos && valueName.find_first_of(" =[\"") == std::string_view::npos) {
    return "file " + std::string(valueName.substr(dot + 1));
  }
  return "text";
}

std::string commandNames() {
  std::string names;
  for (const CommandInfo& info : commands()) names += (names.empty() ? "" : " ") + std::string(info.name);
  return names;
}

// Every key --set takes with its section, and without where the key alone is
// not ambiguous.
std::string settingKeys() {
  const auto fields = gallery::settingsFields();
  std::string keys;
  for (const gallery::SettingsField& field : fields) {
    keys += std::string(field.section) + "." + std::string(field.key) + "=\n";
    const auto sameKey = [&](const gallery::SettingsField& other) { return other.key == field.key; };
    if (std::count_if(fields.begin(), fields.end(), sameKey) == 1) keys += std::string(field.key) + "=\n";
  }
  return keys;
}

std::string optionsFunction() {
  std::string out = "_vistrel_options() {\n  case $1 in\n";
  for (const CommandInfo& info : commands()) {
    std::string names;
    for (const OptionSpec& option : info.options) {
      names += std::string(option.name) + " ";
      if (!option.shortName.empty()) names += std::string(option.shortName) + " ";
    }
    out += "    " + singleQuoted(info.name) + ") echo " + singleQuoted(names + "--help -h") + " ;;\n";
  }
  return out + "  esac\n}\n";
}

std::string valuesFunction() {
  std::string out = "_vistrel_value() {\n  case $1 in\n";
  for (const CommandInfo& info : commands()) {
    for (const OptionSpec& option : info.options) {
      if (option.valueName.empty()) continue;
      const std::string kind = singleQuoted(valueKind(option.valueName));
      out += "    " + singleQuoted(std::string(info.name) + " " + std::string(option.name)) + ") echo " + kind + " ;;\n";
      if (!option.shortName.empty()) {
        out += "    " + singleQuoted(std::string(info.name) + " " + std::string(option.shortName)) + ") echo " + kind +
               " ;;\n";
      }
    }
  }
  return out + "  esac\n}\n";
}

constexpr const char* kCompletionFunction = R"sh(
# The lines of $1 that start with $2, escaped, for they may hold blanks and
# quotes (compgen -W would expand them).
_vistrel_reply() {
  local - IFS=$'\n' word
  set -f
  COMPREPLY=()
  for word in $1; do [[ $word == "$2"* ]] && COMPREPLY+=("$(printf '%q' "$word")"); done
}

_vistrel() {
  local cur prev words cword split
  _init_completion -s -n = || return
  if ((cword == 1)); then
    COMPREPLY=($(compgen -W "$_vistrel_commands help --help --version" -- "$cur"))
    [[ $cur == -* ]] || _filedir
    return
  fi
  local command=${words[1]}
  if [[ $command == help ]]; then
    ((cword == 2)) && COMPREPLY=($(compgen -W "$_vistrel_commands" -- "$cur"))
    return
  fi
  local -a value
  read -ra value <<<"$(_vistrel_value "$command $prev")"
  case ${value[0]-} in
    file) _filedir "${value[1]-}"; return ;;
    dir) _filedir -d; return ;;
    words) COMPREPLY=($(compgen -W "${value[*]:1}" -- "$cur")); return ;;
    key)
      [[ $cur == *=* ]] && return
      compopt -o nospace
      _vistrel_reply "$_vistrel_keys" "$cur"
      return ;;
    site)
      _vistrel_reply "$("${words[0]/#\~/$HOME}" ftp --list-sites 2>/dev/null)" "$cur"
      return ;;
    text) return ;;
  esac
  [[ $split == true ]] && return
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(_vistrel_options "$command")" -- "$cur"))
  else
    _filedir
  fi
}
complete -F _vistrel vistrel
)sh";

}  // namespace

std::string bashCompletion() {
  return "# Tab completion of vistrel's commands, options and their values, for bash-completion.\n"
         "# Made by \"vistrel --bash-completion\" from the program's command table.\n\n"
         "_vistrel_commands=" +
         singleQuoted(commandNames()) + "\n_vistrel_keys=" + singleQuoted(settingKeys()) + "\n\n" +
         optionsFunction() + "\n" + valuesFunction() + kCompletionFunction;
}

}  // namespace vistrel::cli
