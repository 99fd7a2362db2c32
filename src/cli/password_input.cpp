#include "cli/password_input.h"

#include "cli/command.h"
#include "cli/terminal_prompter.h"
#include "platform/files.h"

namespace vistrel::cli {

std::string passwordFromFile(const std::filesystem::path& file) {
  std::string text = platform::readFile(file);
  text = text.substr(0, text.find('\n'));
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

std::string passwordFromTerminal(bool confirm) {
  const auto first = TerminalPrompter::readSecret("Password: ");
  if (!first) throw UsageError("no terminal to read the password from: give --password-file F");
  if (confirm && TerminalPrompter::readSecret("Confirm password: ") != first) {
    throw UsageError("the two passwords differ");
  }
  return *first;
}

}  // namespace vistrel::cli
