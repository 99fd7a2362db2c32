#include "metadata/ui/exif_date_form.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <functional>

#include "metadata/file_batch.h"
#include "metadata/img_data.h"
#include "metadata/ui/file_selection.h"
#include "platform/error.h"
#include "platform/text.h"
#include "platform/ui/help.h"

namespace vistrel::metadata::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kHelpContext = 60;
constexpr const char* kNoDate = "No EXIF date/time found";

QSpinBox* spin(int limit) {
  auto* box = new QSpinBox;
  box->setRange(-limit, limit);
  return box;
}

// The current EXIF date of a single file; nothing when it has no EXIF block.
std::optional<std::string> cameraDateOf(const fs::path& file) {
  TimgData data;
  data.ReadMetadata(file);
  if (!data.HasExifBlock() || !data.Exif) return std::nullopt;
  return data.Exif->CameraDate;
}

}  // namespace

TExifDateFrm::TExifDateFrm(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Change EXIF date/time");
  CurrentDateTimeLabel = new QLabel(kNoDate);
  CurrentDateTimeLabel->setToolTip("Date and time is shown as \r\nYear-Month-Day Hour-Min-Sec");
  auto* current = new QGroupBox("Current EXIF date/time");
  (new QVBoxLayout(current))->addWidget(CurrentDateTimeLabel);

  rbFixedDateTime = new QRadioButton("Set fixed date/time:");
  rbTimeDifference = new QRadioButton("Set time difference:");
  rbTimeDifference->setChecked(true);
  datePicker = new QDateEdit(QDate::currentDate());
  datePicker->setCalendarPopup(true);
  timePicker = new QTimeEdit(QTime::currentTime());
  timePicker->setDisplayFormat("HH:mm:ss");
  btnNow = new QPushButton("Now");
  spinDays = spin(1000000);
  spinHours = spin(23);
  spinMins = spin(59);
  spinSecs = spin(59);
  btnReset = new QPushButton("Reset");
  timeLabel_ = new QLabel("Time");
  timeLabel_->installEventFilter(this);

  auto* grid = new QGridLayout;
  grid->addWidget(rbFixedDateTime, 0, 0, 1, 4);
  grid->addWidget(new QLabel("Date"), 1, 0);
  grid->addWidget(datePicker, 1, 1);
  grid->addWidget(timeLabel_, 1, 2);
  grid->addWidget(timePicker, 1, 3);
  grid->addWidget(btnNow, 1, 4);
  grid->addWidget(rbTimeDifference, 2, 0, 1, 4);
  const char* captions[] = {"Days", "Hours", "Minutes", "Seconds"};
  QSpinBox* spins[] = {spinDays, spinHours, spinMins, spinSecs};
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(new QLabel(captions[i]), 3, i);
    grid->addWidget(spins[i], 4, i);
  }
  grid->addWidget(btnReset, 4, 4);

  auto* buttons = new QDialogButtonBox;
  btnOk = buttons->addButton(QDialogButtonBox::Ok);
  btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
  btnHelp = buttons->addButton(QDialogButtonBox::Help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(current);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  connect(rbFixedDateTime, &QRadioButton::toggled, this, &TExifDateFrm::modeChanged);
  connect(btnNow, &QPushButton::clicked, this, [this] {
    datePicker->setDate(QDate::currentDate());
    timePicker->setTime(QTime::currentTime());
  });
  connect(btnReset, &QPushButton::clicked, this, [this] {
    for (QSpinBox* box : {spinDays, spinHours, spinMins, spinSecs}) box->setValue(0);
  });
  connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [] { platform::ui::showHelp(kHelpContext); });
  modeChanged();
}

bool TExifDateFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == timeLabel_ && event->type() == QEvent::MouseButtonDblClick) timePicker->setTime(QTime(0, 0, 0));
  return QDialog::eventFilter(watched, event);
}

void TExifDateFrm::modeChanged() {
  const bool fixed = rbFixedDateTime->isChecked();
  for (QWidget* widget : std::initializer_list<QWidget*>{datePicker, timePicker}) widget->setEnabled(fixed);
  for (QWidget* widget : std::initializer_list<QWidget*>{spinDays, spinHours, spinMins, spinSecs}) {
    widget->setEnabled(!fixed);
  }
}

ExifDateChange TExifDateFrm::change() const {
  if (rbTimeDifference->isChecked()) {
    return ExifDateShift{spinDays->value(), spinHours->value(), spinMins->value(), spinSecs->value()};
  }
  const QDate date = datePicker->date();
  const QTime time = timePicker->time();
  return platform::DateTime{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), 0};
}

void EditExifDate(QWidget* parent, FileSelection& files, platform::Prompter& prompter) {
  TExifDateFrm form(parent);
  EditExifDate(form, files, prompter, [&form] { return form.exec() == QDialog::Accepted; });
}

void EditExifDate(TExifDateFrm& form, FileSelection& files, platform::Prompter& prompter,
                  const std::function<bool()>& accepted) {
  const std::vector<fs::path> selected = files.selectedFiles();
  if (selected.empty()) {
    prompter.error("You must select at least\r\none file in the file list.", "No files selected");
    return;
  }
  if (selected.size() == 1) {
    const auto date = cameraDateOf(selected.front());
    if (!date) {
      prompter.inform("No EXIF info found.\nOperation aborted.", "No EXIF info found");
      files.setStatus("Ready");
      return;
    }
    form.CurrentDateTimeLabel->setText(date->empty() ? kNoDate : QString::fromStdString(*date));
  } else {
    form.CurrentDateTimeLabel->setText("n/a (multiple files selected)");
  }
  if (!accepted()) {
    files.setStatus("Ready");
    return;
  }
  const ExifDateChange change = form.change();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::size_t k = 0;
  const auto failures = ForEachFile(selected, [&](const fs::path& file) {
    files.setStatus("Processing " + platform::displayName(file.filename()) + " (" + std::to_string(++k) + " of " +
                    std::to_string(selected.size()) + ")");
    // A photo without EXIF dates is passed over, as the dialog promises.
    const ExifDateResult result = ChangeExifDates(file, change);
    if (result.unreadable > 0) {
      throw Error(std::to_string(result.unreadable) +
                  " EXIF date text(s) could not be read and were left as they were");
    }
  });
  files.refreshInfo();
  files.setStatus("Ready");
  QApplication::restoreOverrideCursor();
  if (!failures.empty())
    prompter.error("The EXIF date/time could not be changed:" + FailureListText(failures), "Error");
}

}  // namespace vistrel::metadata::ui
