#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "imaging/resize_settings.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vistrel::imaging {

// "Quick resize": scaled JPEG copies of the main window's selected files,
// without pages. The choices live in the resize key: read when the window is
// made (and again on Esc, which drops unsaved changes), written at OK.
class TResizeForm : public QDialog {
  Q_OBJECT

 public:
  TResizeForm(platform::SettingsStore& store, platform::Prompter& prompter, QWidget* parent = nullptr);

  // The files OK will copy; the window says how many.
  void setFiles(std::vector<std::filesystem::path> files);
  ResizeSettings settings() const;

  QSpinBox* NewWidth;
  QCheckBox *cbSharpen, *cbProgJpeg;
  QComboBox *comboResampleFilter, *comboPrefix;
  QSpinBox* spinQuality;
  QRadioButton *rbUsePrefix, *rbNewFolder;
  QLineEdit* edOutputFolder;
  QPushButton *btnNewFolder, *btnOK, *btnCancel;
  QLabel* StatusText;

 signals:
  // "Resampling n of N (name) .." while the copies are made; empty at the end.
  void statusText(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void readSettings();
  void showSettings(const ResizeSettings& s);
  void enableOutputChoice();
  void btnNewFolderClick();
  void btnOKClick();
  // Runs the batch; false when it ended with an error the user was shown.
  bool resizeFiles(const ResizeSettings& s);

  platform::SettingsStore& store_;
  platform::Prompter& prompter_;
  std::vector<std::filesystem::path> files_;
};

}  // namespace vistrel::imaging
