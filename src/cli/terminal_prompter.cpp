#include "cli/terminal_prompter.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace vistrel::cli {
namespace {

using platform::Answer;
using platform::Buttons;

bool interactive() { return ::isatty(STDIN_FILENO) != 0; }

std::optional<std::string> readLine() {
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  return line;
}

Answer positive(Buttons buttons) { return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes; }
Answer negative(Buttons buttons) {
  return buttons == Buttons::YesNo || buttons == Buttons::YesNoAll ? Answer::No : Answer::Cancel;
}

}  // namespace

Answer TerminalPrompter::ask(const std::string& text, const std::string& caption, Buttons buttons,
                             platform::Icon) {
  std::cerr << caption << ": " << text << "\n";
  if (assumeYes_) return positive(buttons);
  if (!interactive()) {
    std::cerr << "(no terminal to answer on: taking No)\n";
    return negative(buttons);
  }
  std::cerr << "[y/n] " << std::flush;
  const auto line = readLine();
  return line && !line->empty() && (line->front() == 'y' || line->front() == 'Y') ? positive(buttons)
                                                                                 : negative(buttons);
}

void TerminalPrompter::show(const std::string& text, const std::string& caption, platform::Icon) {
  std::cerr << caption << ": " << text << "\n";
}

std::optional<std::string> TerminalPrompter::input(const std::string& caption, const std::string& prompt,
                                                   const std::string& initial) {
  if (!interactive()) return std::nullopt;
  std::cerr << caption << ": " << prompt << std::flush;
  const auto line = readLine();
  if (line && line->empty()) return initial;
  return line;
}

std::optional<std::string> TerminalPrompter::readSecret(const std::string& prompt) {
  if (!interactive()) return std::nullopt;
  std::cerr << prompt << std::flush;
  termios saved{};
  const bool canHide = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (canHide) {
    termios hidden = saved;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &hidden);
  }
  auto line = readLine();
  if (canHide) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  std::cerr << "\n";
  return line;
}

}  // namespace vistrel::cli
