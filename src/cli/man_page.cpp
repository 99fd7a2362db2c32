#include "cli/man_page.h"

#include <sstream>
#include <string_view>

#include "cli/command.h"
#include "platform/version.h"

namespace vistrel::cli {
namespace {

// Backslashes and hyphens must be escaped for roff, and a line must not start
// with a control character.
std::string roff(std::string_view text) {
  std::string out;
  if (text.starts_with('.') || text.starts_with('\'')) out += "\\&";
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// The help texts' layout: paragraphs separated by blank lines, and lines that
// start with blanks kept as they stand (lists, tables, examples).
void appendParagraphs(std::string& out, std::string_view text) {
  std::istringstream lines{std::string(text)};
  bool verbatim = false;
  for (std::string line; std::getline(lines, line);) {
    const bool keep = line.starts_with(' ');
    if (keep != verbatim) out += keep ? ".nf\n" : ".fi\n";
    verbatim = keep;
    if (line.empty()) {
      out += ".PP\n";
    } else {
      out += roff(line) + "\n";
    }
  }
  if (verbatim) out += ".fi\n";
}

void appendOption(std::string& out, const OptionSpec& option) {
  out += ".TP\n";
  if (!option.shortName.empty()) out += "\\fB" + roff(option.shortName) + "\\fR, ";
  out += "\\fB" + roff(option.name) + "\\fR";
  if (!option.valueName.empty()) out += " \\fI" + roff(option.valueName) + "\\fR";
  out += "\n" + roff(option.help) + "\n";
}

void appendCommand(std::string& out, const CommandInfo& info) {
  out += ".SS " + roff(info.name) + "\n.nf\n\\fBvistrel\\fR " + roff(info.synopsis) + "\n.fi\n.PP\n";
  appendParagraphs(out, info.summary);
  for (const OptionSpec& option : info.options) appendOption(out, option);
  if (*info.details != '\0') {
    out += ".PP\n";
    appendParagraphs(out, info.details);
  }
  out += ".PP\n\\fIExit status:\\fR " + roff(exitStatusText(info)) + "\n.PP\n\\fIExample:\\fR\n.PP\n";
  appendParagraphs(out, info.example);
}

}  // namespace

std::string manPage() {
  std::string out = ".TH VISTREL 1 \"\" \"Vistrel " + platform::versionText() + "\" \"User Commands\"\n";
  out +=
      ".SH NAME\nvistrel \\- browse folders of photographs and publish them as web galleries\n"
      ".SH SYNOPSIS\n.nf\n\\fBvistrel\\fR [\\fIPATH\\fR ...]\n\\fBvistrel\\fR \\fICOMMAND\\fR [\\fIARGS\\fR]\n"
      "\\fBvistrel help\\fR \\fICOMMAND\\fR\n\\fBvistrel\\fR \\-\\-help | \\-\\-version\n.fi\n"
      ".SH DESCRIPTION\nWithout a command, \\fBvistrel\\fR starts the picture browser; the paths given are "
      "opened in it, or handed to the browser that is running already. With a command, it does one job "
      "without a window and prints its progress and errors on the terminal.\n.PP\n"
      "Every command explains itself with \\fBvistrel\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR (or "
      "\\fB\\-h\\fR); the same texts follow here.\n"
      ".SH COMMANDS\n";
  for (const CommandInfo& info : commands()) appendCommand(out, info);
  out +=
      ".SH ENVIRONMENT\n.TP\n.B VISTREL_HOME\nThe program data folder: style sheets, navigation images, IPTC "
      "templates, the FTP site list (ftp.dat), the thumbnail cache and the default gallery target. "
      "Default: \\fI$XDG_DATA_HOME/vistrel\\fR (\\fI~/.local/share/vistrel\\fR).\n"
      ".TP\n.B VISTREL_CONFIG_DIR\nWhere the settings are kept. Default: \\fI$XDG_CONFIG_HOME/vistrel\\fR "
      "(\\fI~/.config/vistrel\\fR).\n";
  return out;
}

}  // namespace vistrel::cli
