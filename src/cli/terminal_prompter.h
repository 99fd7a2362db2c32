#pragma once

#include <cstdio>

#include "platform/prompter.h"

namespace vistrel::cli {

// How "already exists" questions (Yes, No, All) are answered on the command line.
enum class OverwriteAnswers { Ask, All, None };

// Messages go to standard error; questions are read from standard input when
// asking is allowed, otherwise answered No (or All for overwrite questions
// when the user said so on the command line).
class TerminalPrompter : public platform::Prompter {
 public:
  explicit TerminalPrompter(OverwriteAnswers overwrite, std::FILE* in = stdin, std::FILE* out = stderr)
      : overwrite_(overwrite), in_(in), out_(out) {}

  platform::Answer ask(const std::string& text, const std::string& caption, platform::Buttons buttons,
                       platform::Icon icon) override;
  void show(const std::string& text, const std::string& caption, platform::Icon icon) override;
  std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) override;

 private:
  std::optional<std::string> readLine();

  OverwriteAnswers overwrite_;
  std::FILE* in_;
  std::FILE* out_;
};

// Message texts use CR LF and lone CR between lines; a terminal wants LF.
std::string terminalText(const std::string& text);

}  // namespace vistrel::cli
