#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <thread>

#include "platform/prompter.h"

namespace vistrel::platform::ui {

// The engine's questions as message boxes over a window.
class MessageBoxPrompter : public platform::Prompter {
 public:
  explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}

  platform::Answer ask(const std::string& text, const std::string& caption, platform::Buttons buttons,
                       platform::Icon icon) override;
  void show(const std::string& text, const std::string& caption, platform::Icon icon) override;
  std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) override;

 private:
  QPointer<QWidget> parent_;
};

// Hands every question of a worker thread to another prompter on the thread
// of `context` and waits for the answer, so windows are only touched there.
class GuiThreadPrompter : public platform::Prompter {
 public:
  GuiThreadPrompter(platform::Prompter& target, QObject* context) : target_(target), context_(context) {}

  platform::Answer ask(const std::string& text, const std::string& caption, platform::Buttons buttons,
                       platform::Icon icon) override;
  void show(const std::string& text, const std::string& caption, platform::Icon icon) override;
  std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                   const std::string& initial) override;

 private:
  platform::Prompter& target_;
  QObject* context_;
};

// Runs the function on the thread of `context` and waits for it.
void runOnThreadOf(QObject* context, const std::function<void()>& function);

// Waits for a worker that may be waiting for this thread (a question through
// GuiThreadPrompter, a queued call) by serving events until it says it is done.
void joinWhileServing(std::thread& worker, const std::atomic<bool>& done);

}  // namespace vistrel::platform::ui
