#include "metadata/ui/file_date_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "metadata/file_batch.h"
#include "metadata/file_dates.h"
#include "metadata/ui/file_selection.h"
#include "platform/ui/help.h"

namespace vistrel::metadata::ui {
namespace {

constexpr int kHelpContext = 900;
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

QSpinBox* spin(int minimum, int maximum, int value) {
  auto* box = new QSpinBox;
  box->setRange(minimum, maximum);
  box->setValue(value);
  return box;
}

}  // namespace

TFileDateForm::TFileDateForm(QWidget* parent, FileSelection& files, platform::Prompter& prompter)
    : QDialog(parent), files_(files), prompter_(prompter) {
  setWindowTitle("Set file date and time");
  DaySpin = spin(1, 31, 31);
  ComboBoxMonth = new QComboBox;
  for (const char* month : kMonths) ComboBoxMonth->addItem(month);
  YearSpin = spin(1980, 2099, 1990);
  btnNow = new QPushButton("Today");
  SpinHour = spin(0, 23, 0);
  SpinMinute = spin(0, 59, 0);
  SpinSec = spin(0, 59, 0);
  btnReset = new QPushButton("0-0-0");
  cbCreated = new QCheckBox("Created");
  cbModified = new QCheckBox("Modified");
  cbAccessed = new QCheckBox("Accessed");
  // Linux file systems set the creation time themselves; no program can.
  cbCreated->setEnabled(false);
  cbCreated->setToolTip("Linux file systems keep a file's creation time themselves; it cannot be set.");
  cbModified->setChecked(true);
  cbAccessed->setChecked(true);
  btnOK = new QPushButton("OK");
  btnCancel = new QPushButton("Cancel");
  btnOK->setDefault(true);
  StatusBar = new QLabel;
  StatusBar->setFrameShape(QFrame::StyledPanel);
  auto* btnHelp = new QPushButton("Help");

  auto* date = new QHBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{DaySpin, ComboBoxMonth, YearSpin, btnNow})
    date->addWidget(widget);
  auto* time = new QHBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{SpinHour, SpinMinute, SpinSec, btnReset})
    time->addWidget(widget);
  auto* fields = new QFormLayout;
  fields->addRow("Date", date);
  fields->addRow("Time", time);
  auto* stamps = new QGroupBox("Set these time stamps");
  auto* stampLayout = new QHBoxLayout(stamps);
  for (QCheckBox* box : {cbCreated, cbModified, cbAccessed}) stampLayout->addWidget(box);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {btnOK, btnCancel, btnHelp}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(stamps);
  layout->addLayout(buttons);
  layout->addWidget(StatusBar);

  showToday();
  connect(btnNow, &QPushButton::clicked, this, &TFileDateForm::showToday);
  connect(btnReset, &QPushButton::clicked, this, [this] {
    for (QSpinBox* box : {SpinHour, SpinMinute, SpinSec}) box->setValue(0);
  });
  for (QSpinBox* box : {DaySpin, YearSpin, SpinHour, SpinMinute, SpinSec}) {
    connect(box, &QSpinBox::valueChanged, this, &TFileDateForm::changed);
  }
  connect(ComboBoxMonth, &QComboBox::currentIndexChanged, this, &TFileDateForm::changed);
  for (QCheckBox* box : {cbModified, cbAccessed}) connect(box, &QCheckBox::toggled, this, &TFileDateForm::changed);
  connect(btnOK, &QPushButton::clicked, this, &TFileDateForm::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [] { platform::ui::showHelp(kHelpContext); });
}

void TFileDateForm::showToday() {
  const QDate today = QDate::currentDate();
  DaySpin->setValue(today.day());
  ComboBoxMonth->setCurrentIndex(today.month() - 1);
  YearSpin->setValue(today.year());
}

platform::DateTime TFileDateForm::chosenDate() const {
  return {YearSpin->value(),
          ComboBoxMonth->currentIndex() + 1,
          DaySpin->value(),
          SpinHour->value(),
          SpinMinute->value(),
          SpinSec->value(),
          0};
}

void TFileDateForm::changed() {
  if (btnOK->isEnabled()) return;
  btnOK->setEnabled(true);
  btnOK->setDefault(true);
  btnOK->setFocus();
  btnCancel->setText("&Cancel");
}

void TFileDateForm::finishedFile() {
  btnOK->setEnabled(false);
  btnCancel->setText("&Close");
  btnCancel->setDefault(true);
  btnCancel->setFocus();
}

void TFileDateForm::btnOKClick() {
  const platform::DateTime date = chosenDate();
  if (!date.isValid()) {
    prompter_.warn("You have selected an invalid date.\r\n\r\nOperation aborted. Set another date and try again.",
                   "Date Error");
    return;
  }
  if (!cbModified->isChecked() && !cbAccessed->isChecked()) {
    prompter_.inform("Tick \"Modified\" or \"Accessed\": the creation time cannot be set.", "Nothing to do ..");
    return;
  }
  StatusBar->setText("Ready");
  const FileTimeChoice which{cbModified->isChecked(), cbAccessed->isChecked()};
  const std::vector<std::filesystem::path> selected = files_.selectedFiles();
  int count = 0;
  const auto failures = ForEachFile(selected, [&](const std::filesystem::path& file) {
    SetFileDate(file, date, which);
    ++count;
    StatusBar->setText(QString::number(count) + " filedate(s) modified (New date: " +
                       QString::fromStdString(platform::dateTimeText(date)) + ")");
  });
  if (!selected.empty()) finishedFile();
  if (!failures.empty()) {
    prompter_.warn(
        "Unable to change date.\r\n\r\nFile may be in use by another program,\r\nor it is marked as "
        "Read-only. Correct\r\nproblem and try again.\r\n" +
            FailureListText(failures),
        "Error");
  }
  if (selected.empty()) {
    prompter_.inform(
        "Select file(s) to modify in the filelist. To select multiple\r\nfiles, use the CTRL-key and "
        "click all the files you wish\r\nto modify. You can also use the SHIFT-key to easily\r\nselect "
        "a large number of files.",
        "No files selected");
  }
}

}  // namespace vistrel::metadata::ui
