#include <sstream>
#include <string_view>

#include "cli/command.h"

namespace vistrel::cli {
namespace {

constexpr std::size_t kWidth = 80;
constexpr std::size_t kOptionColumn = 26;

constexpr OptionSpec kHelpOption{"--help", "", "Show this help and exit.", "-h"};

constexpr const char* kCommonExitStatus =
    "0 when everything was done, 1 when anything failed (each failed file is named on standard error), "
    "2 for a mistake on the command line.";

// Appends text wrapped at kWidth, every line after the first indented by
// `indent` blanks; the first line continues at `column`.
void appendWrapped(std::string& out, std::string_view text, std::size_t column, std::size_t indent) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    if (column > indent && column + 1 + word.size() > kWidth) {
      out += "\n" + std::string(indent, ' ');
      column = indent;
    } else if (column > indent) {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
    start = end + 1;
  }
}

// Paragraphs are separated by blank lines; lines starting with blanks are kept
// as they stand (lists, tables and examples).
void appendParagraphs(std::string& out, std::string_view text, std::size_t indent) {
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line.starts_with(' ')) {
      out += (line.empty() ? "" : std::string(indent, ' ') + line) + "\n";
    } else {
      out += std::string(indent, ' ');
      appendWrapped(out, line, indent, indent);
      out += "\n";
    }
  }
}

void appendOption(std::string& out, const OptionSpec& option) {
  std::string head = "  ";
  if (!option.shortName.empty()) head += std::string(option.shortName) + ", ";
  head += option.name;
  if (!option.valueName.empty()) head += " " + std::string(option.valueName);
  out += head;
  std::size_t column = head.size();
  if (column + 2 > kOptionColumn) {
    out += "\n" + std::string(kOptionColumn, ' ');
  } else {
    out += std::string(kOptionColumn - column, ' ');
  }
  appendWrapped(out, option.help, kOptionColumn, kOptionColumn);
  out += "\n";
}

}  // namespace

std::string_view exitStatusText(const CommandInfo& info) {
  return *info.exitStatus != '\0' ? info.exitStatus : kCommonExitStatus;
}

std::string commandHelp(const CommandInfo& info) {
  std::string out = "usage: vistrel " + std::string(info.synopsis) + "\n\n";
  appendParagraphs(out, info.summary, 0);
  out += "\nOptions:\n";
  for (const OptionSpec& option : info.options) appendOption(out, option);
  appendOption(out, kHelpOption);
  if (*info.details != '\0') {
    out += "\n";
    appendParagraphs(out, info.details, 0);
  }
  out += "\nExit status:\n";
  appendParagraphs(out, exitStatusText(info), 2);
  out += "\nExample:\n";
  appendParagraphs(out, info.example, 0);
  return out;
}

std::string usageText() {
  std::string text =
      "usage: vistrel [PATH ...]       start the picture browser\n"
      "       vistrel COMMAND [ARGS]   run a command without a window\n"
      "       vistrel help COMMAND     explain a command (also: vistrel COMMAND --help)\n"
      "       vistrel --help | --version\n";
  if (!commands().empty()) text += "\ncommands:\n";
  for (const CommandInfo& info : commands()) {
    text += "  vistrel " + std::string(info.synopsis) + "\n";
    appendParagraphs(text, info.summary, 6);
  }
  return text;
}

}  // namespace vistrel::cli
