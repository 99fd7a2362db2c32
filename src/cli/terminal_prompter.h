#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "platform/prompter.h"

namespace vistrel::cli {

// How the command line answers the engine's questions.
enum class AnswerMode {
  Ask,  // on a terminal; without one the cautious answer (No) is taken and said
  Yes,  // the positive answer (All where it is offered), without asking
  No,   // the cautious answer, without asking
};

// Answers the engine's questions on the terminal. Messages go to standard error.
class TerminalPrompter : public platform::Prompter {
 public:
  explicit TerminalPrompter(bool assumeYes = false) : TerminalPrompter(assumeYes ? AnswerMode::Yes : AnswerMode::Ask) {}
  explicit TerminalPrompter(AnswerMode mode);
  // Reads answers from `in` and writes to `out`; `interactive` says whether
  // someone is there to answer.
  TerminalPrompter(AnswerMode mode, std::FILE* in, std::FILE* out, bool interactive)
      : mode_(mode), in_(in), out_(out), interactive_(interactive) {}

  platform::Answer ask(const std::string& text, const std::string& caption, platform::Buttons buttons,
                       platform::Icon icon) override;
  void show(const std::string& text, const std::string& caption, platform::Icon icon) override;
  std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) override;

  // Reads a line without echo; nothing without a terminal.
  static std::optional<std::string> readSecret(const std::string& prompt);

 private:
  std::optional<std::string> readLine();

  AnswerMode mode_;
  std::FILE* in_;
  std::FILE* out_;
  bool interactive_;
};

// Message texts use CR LF and lone CR between lines; a terminal wants LF, and
// control characters shown as escapes.
std::string terminalText(const std::string& text);

}  // namespace vistrel::cli
