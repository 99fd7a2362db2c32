#include "cli/terminal_prompter.h"

#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <iostream>
#include <vector>

#include "platform/control_escapes.h"
#include "platform/text.h"

namespace vistrel::cli {
namespace {

using platform::Answer;
using platform::Buttons;

struct Choice {
  char key;
  const char* label;
  Answer answer;
};

std::vector<Choice> choicesOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return {{'o', "[o]k", Answer::Ok}};
    case Buttons::OkCancel: return {{'o', "[o]k", Answer::Ok}, {'c', "[c]ancel", Answer::Cancel}};
    case Buttons::YesNo: return {{'y', "[y]es", Answer::Yes}, {'n', "[n]o", Answer::No}};
    case Buttons::YesNoCancel:
      return {{'y', "[y]es", Answer::Yes}, {'n', "[n]o", Answer::No}, {'c', "[c]ancel", Answer::Cancel}};
    case Buttons::YesNoAll:
      return {{'y', "[y]es", Answer::Yes}, {'n', "[n]o", Answer::No}, {'a', "[a]ll", Answer::All}};
  }
  return {};
}

// The answer that changes nothing: No where there is one, else Cancel, else Ok.
Answer cautiousAnswer(Buttons buttons) {
  for (const Choice& choice : choicesOf(buttons)) {
    if (choice.answer == Answer::No) return Answer::No;
  }
  return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

Answer positiveAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel: return Answer::Ok;
    case Buttons::YesNoAll: return Answer::All;
    case Buttons::YesNo:
    case Buttons::YesNoCancel: break;
  }
  return Answer::Yes;
}

const char* nameOf(Answer answer) {
  switch (answer) {
    case Answer::Ok: return "Ok";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::All: return "All";
    case Answer::Cancel: break;
  }
  return "Cancel";
}

}  // namespace

TerminalPrompter::TerminalPrompter(AnswerMode mode)
    : TerminalPrompter(mode, stdin, stderr, ::isatty(STDIN_FILENO) != 0) {}

std::string terminalText(const std::string& message) {
  // Messages may hold a file name that is not UTF-8.
  const std::string text = platform::textFromFile(message);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return platform::escapeControls(out);
}

platform::Answer TerminalPrompter::ask(const std::string& text, const std::string& caption, Buttons buttons,
                                       platform::Icon) {
  std::fprintf(out_, "%s: %s\n", caption.c_str(), terminalText(text).c_str());
  if (mode_ != AnswerMode::Ask) {
    // Said, so a log of the run does not look like a question left open.
    const Answer answer = mode_ == AnswerMode::Yes ? positiveAnswer(buttons) : cautiousAnswer(buttons);
    std::fprintf(out_, "(answered %s from the command line)\n", nameOf(answer));
    return answer;
  }
  if (!interactive_) {
    std::fprintf(out_, "(no terminal to answer on: taking No)\n");
    return cautiousAnswer(buttons);
  }
  const auto choices = choicesOf(buttons);
  for (;;) {
    for (const Choice& choice : choices) std::fprintf(out_, "%s ", choice.label);
    std::fprintf(out_, "? ");
    std::fflush(out_);
    const auto line = readLine();
    if (!line) return cautiousAnswer(buttons);
    const char key = line->empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>((*line)[0])));
    for (const Choice& choice : choices) {
      if (choice.key == key) return choice.answer;
    }
  }
}

void TerminalPrompter::show(const std::string& text, const std::string& caption, platform::Icon) {
  std::fprintf(out_, "%s: %s\n", caption.c_str(), terminalText(text).c_str());
}

std::optional<std::string> TerminalPrompter::input(const std::string& caption, const std::string& prompt,
                                                   const std::string& initial) {
  if (!interactive_ || mode_ != AnswerMode::Ask) return std::nullopt;
  std::fprintf(out_, "%s: %s [%s] ", caption.c_str(), terminalText(prompt).c_str(), initial.c_str());
  std::fflush(out_);
  auto line = readLine();
  if (line && line->empty()) return initial;
  return line;
}

std::optional<std::string> TerminalPrompter::readLine() {
  std::string line;
  int c = 0;
  while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) return std::nullopt;
  return line;
}

std::optional<std::string> TerminalPrompter::readSecret(const std::string& prompt) {
  if (::isatty(STDIN_FILENO) == 0) return std::nullopt;
  std::cerr << prompt << std::flush;
  termios saved{};
  const bool canHide = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (canHide) {
    termios hidden = saved;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &hidden);
  }
  std::string line;
  const bool read = static_cast<bool>(std::getline(std::cin, line));
  if (canHide) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  std::cerr << "\n";
  if (!read) return std::nullopt;
  return line;
}

}  // namespace vistrel::cli
