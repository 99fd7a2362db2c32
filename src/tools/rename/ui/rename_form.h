#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/prompter.h"
#include "platform/settings_store.h"
#include "tools/rename/rename_series.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;

namespace vistrel::rename::ui {

// "Rename files": the pattern and its date, time and number settings, with a
// sample of the name they give. OK renames Files and closes; the settings are
// kept however the dialog closes.
class TRenameForm : public QDialog {
  Q_OBJECT

 public:
  // Renamed files' cached thumbnails move along in `cache` (may be null).
  TRenameForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store,
              browser::CacheLocation* cache);

  // The files to rename, in list order.
  std::vector<std::filesystem::path> Files;
  // Told of each file renamed, as it happens.
  std::function<void(const std::filesystem::path& from, const std::filesystem::path& to)> FileRenamed;

  RenameSettings currentSettings() const;
  const RenameResult& renameResult() const { return result_; }

  QComboBox *FNameEdit, *DateCombo, *TimeCombo;
  QLineEdit* sepEdit;
  QSpinBox *StartNumber, *SpinDigits;
  QCheckBox* cbLowerCase;
  QLabel* DirLabel;
  QPushButton *btnOK, *btnCancel, *btnHelp;
  QStatusBar* StatusBar;

 protected:
  void done(int result) override;

 private:
  void btnOKClick();
  void updateSample();

  platform::Prompter& prompter_;
  platform::SettingsStore& store_;
  browser::CacheLocation* cache_;
  RenameResult result_;
};

}  // namespace vistrel::rename::ui
