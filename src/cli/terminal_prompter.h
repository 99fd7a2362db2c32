#pragma once

#include <optional>
#include <string>

#include "platform/prompter.h"

namespace vistrel::cli {

// Answers the engine's questions on the terminal. Messages go to stderr.
// Without a terminal (or with assumeYes) questions are not asked: assumeYes
// answers Yes, otherwise the cautious No is taken and said.
class TerminalPrompter : public platform::Prompter {
 public:
  explicit TerminalPrompter(bool assumeYes = false) : assumeYes_(assumeYes) {}

  platform::Answer ask(const std::string& text, const std::string& caption, platform::Buttons buttons,
                       platform::Icon icon) override;
  void show(const std::string& text, const std::string& caption, platform::Icon icon) override;
  std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) override;

  // Reads a line without echo; nothing without a terminal.
  static std::optional<std::string> readSecret(const std::string& prompt);

 private:
  bool assumeYes_;
};

}  // namespace vistrel::cli
