#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace vistrel::test {

// A Prompter that answers from a script. A question that the script does not
// expect, or one whose text differs, fails the running test; so does a scripted
// answer that was never asked for.
class ScriptedPrompter : public platform::Prompter {
 public:
  ~ScriptedPrompter() override;

  // The next question must contain `textPart`; it gets `answer`.
  void expect(std::string textPart, platform::Answer answer);
  // The next input box gets `reply` (nothing = the user cancels).
  void expectInput(std::optional<std::string> reply);

  platform::Answer ask(const std::string& text, const std::string& caption, platform::Buttons buttons,
                       platform::Icon icon) override;
  void show(const std::string& text, const std::string& caption, platform::Icon icon) override;
  std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) override;

  struct Shown {
    std::string caption;
    std::string text;
    platform::Icon icon;
  };
  const std::vector<Shown>& shown() const { return shown_; }
  const std::vector<std::string>& asked() const { return asked_; }

 private:
  struct Expected {
    std::string textPart;
    platform::Answer answer;
  };
  std::deque<Expected> questions_;
  std::deque<std::optional<std::string>> inputs_;
  std::vector<Shown> shown_;
  std::vector<std::string> asked_;
};

}  // namespace vistrel::test
