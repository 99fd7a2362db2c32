#pragma once

#include <QDialog>

#include "metadata/exif_dates.h"
#include "platform/prompter.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace vistrel::metadata::ui {

class FileSelection;

// "Change EXIF date/time": a fixed date and time or a signed difference for
// the three EXIF dates of the selected photos.
class TExifDateFrm : public QDialog {
  Q_OBJECT

 public:
  explicit TExifDateFrm(QWidget* parent = nullptr);

  // The change the dialog describes.
  ExifDateChange change() const;

  QLabel* CurrentDateTimeLabel;
  QRadioButton *rbFixedDateTime, *rbTimeDifference;
  QDateEdit* datePicker;
  QTimeEdit* timePicker;
  QPushButton *btnNow, *btnReset, *btnOk, *btnCancel, *btnHelp;
  QSpinBox *spinDays, *spinHours, *spinMins, *spinSecs;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void modeChanged();
  QLabel* timeLabel_;
};

// The main window's "Edit EXIF date/time": checks the selection, shows the
// dialog, changes every selected photo and names the ones it could not.
void EditExifDate(QWidget* parent, FileSelection& files, platform::Prompter& prompter);
// The same with a dialog the caller has set up (tests answer it themselves);
// `accepted` stands for how the dialog ended.
void EditExifDate(TExifDateFrm& form, FileSelection& files, platform::Prompter& prompter,
                  const std::function<bool()>& accepted);

}  // namespace vistrel::metadata::ui
