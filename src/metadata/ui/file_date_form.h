#pragma once

#include <QDialog>

#include "platform/dates.h"
#include "platform/prompter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vistrel::metadata::ui {

class FileSelection;

// "Set file date and time": one date and time for the modification and access
// times of every selected file. The dialog stays open after OK, which then
// waits for the next change.
class TFileDateForm : public QDialog {
  Q_OBJECT

 public:
  TFileDateForm(QWidget* parent, FileSelection& files, platform::Prompter& prompter);

  // The date and time the fields show (perhaps one that does not exist).
  platform::DateTime chosenDate() const;
  void btnOKClick();

  QSpinBox *DaySpin, *YearSpin, *SpinHour, *SpinMinute, *SpinSec;
  QComboBox* ComboBoxMonth;
  QPushButton *btnNow, *btnReset, *btnOK, *btnCancel;
  QCheckBox *cbCreated, *cbModified, *cbAccessed;
  QLabel* StatusBar;

 private:
  void showToday();
  void changed();
  void finishedFile();

  FileSelection& files_;
  platform::Prompter& prompter_;
};

}  // namespace vistrel::metadata::ui
