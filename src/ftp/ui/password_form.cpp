#include "ftp/ui/password_form.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vistrel::ftp::ui {

TPasswordForm::TPasswordForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TPasswordForm");
  setWindowTitle("Password");
  setProperty("helpSection", "context-300");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Enter server password: ", this));
  PasswordEdit = new QLineEdit(this);
  PasswordEdit->setObjectName("PasswordEdit");
  PasswordEdit->setEchoMode(QLineEdit::Password);
  layout->addWidget(PasswordEdit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

std::optional<std::string> TPasswordForm::askPassword(QWidget* parent) {
  TPasswordForm form(parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.PasswordEdit->text().toStdString();
}

}  // namespace vistrel::ftp::ui
