#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

namespace vistrel::platform::ui {

// F1 in a dialog opens its part of the help: the section its "helpSection"
// property names, else what its Help button opens, else the contents. Installed
// on the application, so that every dialog has it without code of its own.
class HelpKey : public QObject {
 public:
  explicit HelpKey(std::function<void(const QUrl&)> open, QObject* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QUrl&)> open_;
};

}  // namespace vistrel::platform::ui
