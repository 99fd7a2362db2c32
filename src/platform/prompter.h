#pragma once

#include <optional>
#include <string>

namespace vistrel::platform {

// The buttons of a question, as the message boxes of the program offer them.
// YesNoAll adds "Yes to all" (All); YesNoToAll adds "No to all" (NoToAll) as well.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoAll, YesNoToAll };
enum class Answer { Ok, Cancel, Yes, No, All, NoToAll };
enum class Icon { None, Information, Warning, Error, Question };

// How the engine talks to the user. The engine never opens a window: where the
// program shows a message box or asks a question, it calls this interface, and
// the front end (GUI, terminal, test script) answers.
class Prompter {
 public:
  virtual ~Prompter() = default;

  virtual Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
                     Icon icon) = 0;
  virtual void show(const std::string& text, const std::string& caption, Icon icon) = 0;
  // Returns nothing when the user cancels.
  virtual std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                           const std::string& initial) = 0;

  void inform(const std::string& text, const std::string& caption) {
    show(text, caption, Icon::Information);
  }
  void warn(const std::string& text, const std::string& caption) {
    show(text, caption, Icon::Warning);
  }
  void error(const std::string& text, const std::string& caption) {
    show(text, caption, Icon::Error);
  }
};

}  // namespace vistrel::platform
