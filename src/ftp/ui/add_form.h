#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "ftp/site_list.h"
#include "platform/prompter.h"

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vistrel::ftp::ui {

// The site dialog: adds a server to the site list or edits one.
class TAddForm : public QDialog {
  Q_OBJECT

 public:
  TAddForm(SiteList& sites, platform::Prompter& prompter, QWidget* parent = nullptr);

  // Empty fields, port 21, caption "Add server".
  void prepareAdd();
  // The site's fields with its stored password field unchanged.
  void prepareEdit(const Site& site);

  QLineEdit* NameEdit;
  QLineEdit* AddressEdit;
  QLineEdit* UserEdit;
  QLineEdit* PasswordEdit;
  QSpinBox* PortEdit;
  QLineEdit* DirectoryEdit;
  QPushButton* btnOK;
  QPushButton* btnCancel;

 private:
  void btnOKClick();

  SiteList& sites_;
  platform::Prompter& prompter_;
  std::string passwordAtShow_;
  std::optional<std::string> editedLine_;
};

}  // namespace vistrel::ftp::ui
