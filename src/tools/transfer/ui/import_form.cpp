#include "tools/transfer/ui/import_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/error.h"
#include "platform/log.h"
#include "platform/ui/help.h"
#include "platform/ui/refused_characters.h"
#include "platform/volume_info.h"

namespace vistrel::transfer::ui {
namespace {

// The characters a folder field refuses: those a Windows name cannot hold,
// but "/", which separates the folders here.
const QString kRefusedInFolders = "*?\"<>|";

QString qt(const std::string& text) { return QString::fromStdString(text); }

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
  auto* layout = new QHBoxLayout;
  for (QWidget* widget : widgets) layout->addWidget(widget);
  return layout;
}

QGroupBox* group(const QString& title, std::initializer_list<QWidget*> widgets) {
  auto* box = new QGroupBox(title);
  auto* layout = new QVBoxLayout(box);
  for (QWidget* widget : widgets) layout->addWidget(widget);
  return box;
}

}  // namespace

TImportForm::TImportForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store)
    : QDialog(parent), prompter_(prompter), store_(store) {
  setObjectName("TImportForm");
  setWindowTitle("Transfer images from camera or memory card");
  editSource = new QComboBox(this);
  editSource->setEditable(true);
  editSource->setInsertPolicy(QComboBox::NoInsert);
  editSource->setMinimumWidth(360);
  editDest = new QLineEdit(this);
  for (QLineEdit* field : {editSource->lineEdit(), editDest}) platform::ui::refuseCharacters(field, kRefusedInFolders);
  btnBrowseSource = new QPushButton("Browse...", this);
  btnBrowseDest = new QPushButton("Browse...", this);
  cbCreateNewFolder = new QCheckBox("Create new subfolder named:", this);
  DateCombo = new QComboBox(this);
  for (const char* format : kSubfolderFormatChoices) DateCombo->addItem(format);
  DestinationLabel = new QLabel("Destination:", this);
  FinalDest = new QLabel(this);
  rbCopy = new QRadioButton("Copy files", this);
  rbMove = new QRadioButton("Move files", this);
  rbRename = new QRadioButton("Auto-rename", this);
  rbReplace = new QRadioButton("Replace", this);
  rbRename->setChecked(true);
  auto* actions = new QButtonGroup(this);
  actions->addButton(rbCopy);
  actions->addButton(rbMove);
  auto* collisions = new QButtonGroup(this);
  collisions->addButton(rbRename);
  collisions->addButton(rbReplace);
  cbReadOnly = new QCheckBox("Mark transferred files as 'Read only'", this);
  cbOpenFolder = new QCheckBox("Browse folder when done", this);
  cbRenameTransferred = new QCheckBox("Rename transferred files", this);

  auto* buttons = new QDialogButtonBox(this);
  btnOK = buttons->addButton(QDialogButtonBox::Ok);
  btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
  btnHelp = buttons->addButton(QDialogButtonBox::Help);
  connect(btnOK, &QPushButton::clicked, this, &TImportForm::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [] { platform::ui::showHelp(700); });

  auto* folders = new QFormLayout;
  folders->addRow("Source folder:", row({editSource, btnBrowseSource}));
  folders->addRow("Destination folder:", row({editDest, btnBrowseDest}));
  folders->addRow(cbCreateNewFolder, DateCombo);
  folders->addRow(DestinationLabel, FinalDest);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(folders);
  layout->addLayout(row({group("Transfer", {rbCopy, rbMove}), group("If a file exists", {rbRename, rbReplace})}));
  for (QWidget* box : {cbReadOnly, cbOpenFolder, cbRenameTransferred}) layout->addWidget(box);
  layout->addWidget(buttons);

  connect(btnBrowseSource, &QPushButton::clicked, this, [this] { browse(editSource->lineEdit()); });
  connect(btnBrowseDest, &QPushButton::clicked, this, [this] { browse(editDest); });
  connect(editDest, &QLineEdit::textChanged, this, &TImportForm::updateFinalDest);
  connect(cbCreateNewFolder, &QCheckBox::toggled, this, &TImportForm::updateFinalDest);
  connect(DateCombo, &QComboBox::currentTextChanged, this, &TImportForm::updateFinalDest);
  connect(rbReplace, &QRadioButton::clicked, this, &TImportForm::rbReplaceClick);
}

TransferSettings TImportForm::settings() const {
  TransferSettings settings;
  settings.sourcePath = editSource->currentText().toStdString();
  settings.destPath = editDest->text().toStdString();
  settings.openFolder = cbOpenFolder->isChecked();
  settings.createNewFolder = cbCreateNewFolder->isChecked();
  settings.dateFormat = DateCombo->currentText().toStdString();
  settings.move = rbMove->isChecked();
  settings.readOnly = cbReadOnly->isChecked();
  settings.replace = rbReplace->isChecked();
  settings.renameTransferred = cbRenameTransferred->isChecked();
  return settings;
}

void TImportForm::showEvent(QShowEvent* event) {
  loadSettings();
  QDialog::showEvent(event);
}

void TImportForm::loadSettings() {
  const TransferSettings stored = readTransferSettings(store_);
  editSource->clear();
  for (const auto& folder : platform::cameraFolders(platform::removableMountPoints())) {
    editSource->addItem(qt(folder.string()));
  }
  editSource->setEditText(qt(stored.sourcePath));
  editDest->setText(qt(stored.destPath));
  cbOpenFolder->setChecked(stored.openFolder);
  cbCreateNewFolder->setChecked(stored.createNewFolder);
  const int format = DateCombo->findText(qt(stored.dateFormat));
  if (format >= 0) DateCombo->setCurrentIndex(format);
  (stored.move ? rbMove : rbCopy)->setChecked(true);
  cbReadOnly->setChecked(stored.readOnly);
  updateFinalDest();
}

void TImportForm::updateFinalDest() {
  const bool subfolder = cbCreateNewFolder->isChecked();
  DateCombo->setEnabled(subfolder);
  DestinationLabel->setVisible(subfolder);
  FinalDest->setVisible(subfolder);
  FinalDest->setText(qt(finalDestination(settings(), platform::localNow()).string()));
}

void TImportForm::rbReplaceClick() {
  const platform::Answer answer = prompter_.ask(
      "Selecting this option means that existing files may be replaced (lost).\r\n\r\nYou should not use this "
      "option unless you are absolutely certain\r\nthat you want to do so. Are you sure?",
      "Warning", platform::Buttons::YesNo, platform::Icon::Warning);
  if (answer != platform::Answer::Yes) rbRename->setChecked(true);
}

void TImportForm::browse(QLineEdit* field) {
  const QString folder = QFileDialog::getExistingDirectory(this, "Select folder", field->text());
  if (!folder.isEmpty()) field->setText(folder);
}

void TImportForm::accept() {
  updateFinalDest();
  try {
    writeTransferSettings(store_, settings());
  } catch (const Error& error) {
    log::warning(error.what());
  }
  QDialog::accept();
}

}  // namespace vistrel::transfer::ui
