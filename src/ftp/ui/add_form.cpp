#include "ftp/ui/add_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::ftp::ui {
namespace {

QLineEdit* lineEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

QLabel* note(QWidget* parent, const char* text) {
  auto* label = new QLabel(text, parent);
  label->setEnabled(false);
  return label;
}

}  // namespace

TAddForm::TAddForm(SiteList& sites, platform::Prompter& prompter, QWidget* parent)
    : QDialog(parent), sites_(sites), prompter_(prompter) {
  setObjectName("TAddForm");
  NameEdit = lineEdit(this, "NameEdit");
  AddressEdit = lineEdit(this, "AddressEdit");
  UserEdit = lineEdit(this, "UserEdit");
  PasswordEdit = lineEdit(this, "PasswordEdit");
  PasswordEdit->setEchoMode(QLineEdit::Password);
  PortEdit = new QSpinBox(this);
  PortEdit->setObjectName("PortEdit");
  PortEdit->setRange(0, 65535);  // negative values go back to 0
  DirectoryEdit = lineEdit(this, "DirectoryEdit");

  auto* form = new QFormLayout;
  form->addRow("Description", NameEdit);
  form->addRow("Address", AddressEdit);
  form->addRow("User", UserEdit);
  form->addRow("Password", PasswordEdit);
  form->addRow("", note(this, "Leave blank if you wish to be prompted when connecting"));
  form->addRow("Port", PortEdit);
  form->addRow("", note(this, "21 is default port for most FTP-servers"));
  form->addRow("Directory", DirectoryEdit);

  btnOK = new QPushButton("OK", this);
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  btnCancel = new QPushButton("Cancel", this);
  btnCancel->setObjectName("btnCancel");
  connect(btnOK, &QPushButton::clicked, this, &TAddForm::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
}

void TAddForm::prepareAdd() {
  for (QLineEdit* edit : {NameEdit, AddressEdit, UserEdit, PasswordEdit, DirectoryEdit}) edit->clear();
  PortEdit->setValue(21);
  passwordAtShow_.clear();
  editedLine_.reset();
  setWindowTitle("Add server");
  setProperty("helpSection", "context-300");
}

void TAddForm::prepareEdit(const Site& site) {
  NameEdit->setText(QString::fromStdString(site.description));
  AddressEdit->setText(QString::fromStdString(site.address));
  UserEdit->setText(QString::fromStdString(site.user));
  PasswordEdit->setText(QString::fromStdString(site.passwordField));
  PortEdit->setValue(static_cast<int>(platform::parseInteger(site.port).value_or(0)));
  DirectoryEdit->setText(QString::fromStdString(site.directory));
  passwordAtShow_ = site.passwordField;
  editedLine_ = siteLine(site);
  setWindowTitle("Edit " + NameEdit->text());
}

void TAddForm::btnOKClick() {
  SiteEntry entry;
  entry.description = NameEdit->text().toStdString();
  entry.address = AddressEdit->text().toStdString();
  entry.user = UserEdit->text().toStdString();
  entry.password = PasswordEdit->text().toStdString();
  entry.passwordAtShow = passwordAtShow_;
  entry.port = PortEdit->value();
  entry.directory = DirectoryEdit->text().toStdString();
  entry.editedLine = editedLine_;
  try {
    sites_.load();
    if (saveSiteEntry(sites_, entry, prompter_) == SaveOutcome::Saved) accept();
  } catch (const Error& e) {
    prompter_.error(e.what(), "Error");
  }
}

}  // namespace vistrel::ftp::ui
