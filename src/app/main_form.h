#pragma once

#include <QMainWindow>

namespace vistrel::app {

// The main window of the picture browser.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
};

}  // namespace vistrel::app
