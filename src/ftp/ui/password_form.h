#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace vistrel::ftp::ui {

// The input box for a server password: every character shows as "*".
class TPasswordForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPasswordForm(QWidget* parent = nullptr);

  // Nothing when the user cancels.
  static std::optional<std::string> askPassword(QWidget* parent);

  QLineEdit* PasswordEdit;
};

}  // namespace vistrel::ftp::ui
