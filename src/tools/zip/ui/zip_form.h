#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "platform/prompter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vistrel::zip::ui {

// "Zip files": adds the files of the file list to an archive. The dialog stays
// open after a run and shows the count in its caption.
class TZipForm : public QDialog {
  Q_OBJECT

 public:
  TZipForm(QWidget* parent, platform::Prompter& prompter);

  // The files to add, in the file list's order.
  std::vector<std::filesystem::path> Files;

  QLineEdit* editFileName;
  QComboBox* comboCompression;
  QCheckBox* cbStorePaths;
  QLineEdit* Edit1;  // the password
  QPushButton *btnNew, *btnOpen, *btnOK, *btnCancel;
  QLabel* lblStatus;
  QProgressBar* ProgressBar;

  void btnOKClick();
  // What New and Open do with the file the user chose: the name is taken, or
  // after a question about a file that exists (New) or does not (Open) the
  // field is emptied.
  void newArchiveChosen(const QString& name);
  void openArchiveChosen(const QString& name);

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void btnNewClick();
  void btnOpenClick();
  void setRunning(bool running);

  platform::Prompter& prompter_;
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace vistrel::zip::ui
