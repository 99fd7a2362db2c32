#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "platform/prompter.h"
#include "platform/settings_store.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vistrel::textreplace::ui {

// "Text replace": replaces a text by another in the chosen files of one
// folder, with a line in the log for every file. The choices and the find and
// replace histories live in the sub-key "TexRep": read when the window is
// made and each time it is shown, written when it closes.
class TTextReplace : public QDialog {
  Q_OBJECT

 public:
  TTextReplace(platform::SettingsStore& store, platform::Prompter& prompter, const std::filesystem::path& folder,
               QWidget* parent = nullptr);

  // The selected files of the list, in list order.
  std::vector<std::filesystem::path> selectedFiles() const;
  void btnStartClick();

  QComboBox* DirectoryCombo;
  QPushButton* btnBrowse;
  QListWidget* RzFileListBox1;
  QComboBox *comboExt, *edtFind, *edtReplace;
  QCheckBox *cbCase, *cbWhole, *cbBackup;
  QPlainTextEdit* memLog;
  QPushButton *btnStart, *btnCancel;

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void loadSettings();
  void saveSettings();
  void listFiles();
  void btnBrowseClick();

  platform::SettingsStore& store_;
  platform::Prompter& prompter_;
};

}  // namespace vistrel::textreplace::ui
