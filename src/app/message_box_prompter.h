#pragma once

#include "platform/prompter.h"

class QWidget;

namespace vistrel::app {

// The Prompter of the windows: message boxes and input boxes over `parent`.
class MessageBoxPrompter : public platform::Prompter {
 public:
  explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  platform::Answer ask(const std::string& text, const std::string& caption, platform::Buttons buttons,
                       platform::Icon icon) override;
  void show(const std::string& text, const std::string& caption, platform::Icon icon) override;
  std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) override;

 private:
  QWidget* parent_;
};

}  // namespace vistrel::app
