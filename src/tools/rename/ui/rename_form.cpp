#include "tools/rename/ui/rename_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <span>

#include "platform/error.h"
#include "platform/log.h"
#include "platform/text.h"
#include "platform/ui/file_progress.h"
#include "platform/ui/help.h"
#include "platform/ui/refused_characters.h"
#include "tools/rename/series_names.h"

namespace vistrel::rename::ui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QComboBox* editableCombo(QWidget* parent, std::span<const char* const> choices, const std::string& text) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  for (const char* choice : choices) combo->addItem(choice);
  combo->setEditText(qt(text));
  return combo;
}

}  // namespace

TRenameForm::TRenameForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store,
                         browser::CacheLocation* cache)
    : QDialog(parent), prompter_(prompter), store_(store), cache_(cache) {
  setObjectName("TRenameForm");
  setWindowTitle("Rename files");
  const RenameSettings settings = readRenameSettings(store);
  FNameEdit = editableCombo(this, kPatternChoices, settings.pattern);
  platform::ui::refuseCharacters(FNameEdit->lineEdit(), qt(std::string(kRefusedCharacters)));
  DateCombo = editableCombo(this, kDateFormatChoices, settings.dateFormat);
  TimeCombo = editableCombo(this, kTimeFormatChoices, settings.timeFormat);
  sepEdit = new QLineEdit(qt(settings.separator), this);
  sepEdit->setMaxLength(int(kMaxSeparatorLength));
  StartNumber = new QSpinBox(this);
  StartNumber->setRange(0, 2147483647);
  StartNumber->setValue(settings.startNumber);
  SpinDigits = new QSpinBox(this);
  SpinDigits->setRange(1, kMaxDigits);
  SpinDigits->setValue(settings.digits);
  cbLowerCase = new QCheckBox("Lower case only", this);
  cbLowerCase->setChecked(settings.lowerCase);
  DirLabel = new QLabel(this);

  auto* buttons = new QDialogButtonBox(this);
  btnOK = buttons->addButton(QDialogButtonBox::Ok);
  btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
  btnHelp = buttons->addButton(QDialogButtonBox::Help);
  connect(btnOK, &QPushButton::clicked, this, &TRenameForm::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [] { platform::ui::showHelp(910); });
  StatusBar = new QStatusBar(this);
  StatusBar->setSizeGripEnabled(false);

  auto* fields = new QFormLayout;
  fields->addRow("New file name:", FNameEdit);
  fields->addRow("Date format:", DateCombo);
  fields->addRow("Time format:", TimeCombo);
  fields->addRow("Separator:", sepEdit);
  fields->addRow("Start number:", StartNumber);
  fields->addRow("Digits:", SpinDigits);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(cbLowerCase);
  layout->addWidget(DirLabel);
  layout->addWidget(buttons);
  layout->addWidget(StatusBar);

  connect(FNameEdit, &QComboBox::editTextChanged, this, &TRenameForm::updateSample);
  connect(DateCombo, &QComboBox::editTextChanged, this, &TRenameForm::updateSample);
  connect(TimeCombo, &QComboBox::editTextChanged, this, &TRenameForm::updateSample);
  connect(sepEdit, &QLineEdit::textChanged, this, &TRenameForm::updateSample);
  connect(StartNumber, &QSpinBox::valueChanged, this, &TRenameForm::updateSample);
  connect(SpinDigits, &QSpinBox::valueChanged, this, &TRenameForm::updateSample);
  connect(cbLowerCase, &QCheckBox::toggled, this, &TRenameForm::updateSample);
  updateSample();
}

RenameSettings TRenameForm::currentSettings() const {
  RenameSettings settings;
  settings.pattern = FNameEdit->currentText().toStdString();
  settings.dateFormat = DateCombo->currentText().toStdString();
  settings.timeFormat = TimeCombo->currentText().toStdString();
  settings.separator = sepEdit->text().toStdString();
  settings.startNumber = StartNumber->value();
  settings.digits = SpinDigits->value();
  settings.lowerCase = cbLowerCase->isChecked();
  return settings;
}

void TRenameForm::updateSample() {
  const RenameSettings settings = currentSettings();
  const bool dated = wantsDateStamp(settings.pattern);
  for (QWidget* control :
       {static_cast<QWidget*>(DateCombo), static_cast<QWidget*>(TimeCombo), static_cast<QWidget*>(sepEdit)}) {
    control->setEnabled(dated);
  }
  DirLabel->setText("Sample output: " + qt(sampleName(settings, platform::localNow())));
}

void TRenameForm::btnOKClick() {
  RenameDisk disk(cache_);
  RenameEvents events;
  events.starting = [this](const std::filesystem::path& file) {
    StatusBar->showMessage("Renaming " + qt(platform::displayName(file.filename())));
    QCoreApplication::processEvents();
  };
  events.renamed = [this](const std::filesystem::path& from, const std::filesystem::path& to) {
    if (FileRenamed) FileRenamed(from, to);
  };
  result_ = renameSeries(Files, currentSettings(), disk, events);
  StatusBar->showMessage("Ready");
  platform::ui::showFailures(prompter_, result_.failed, "Rename files");
  accept();
}

void TRenameForm::done(int result) {
  try {
    writeRenameSettings(store_, currentSettings());
  } catch (const Error& error) {
    log::warning(error.what());
  }
  QDialog::done(result);
}

}  // namespace vistrel::rename::ui
