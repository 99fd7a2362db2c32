#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>

#include "platform/prompter.h"
#include "platform/settings_store.h"
#include "tools/targets/target_folders.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vistrel::targets::ui {

// "Target folder": the destination of "Copy to .." and "Move to ..", typed or
// picked from the remembered folders. The mark beside the field is green
// while it names an existing folder and red otherwise. The list is kept
// whenever it changes.
class TTargetFolderForm : public QDialog {
  Q_OBJECT

 public:
  TTargetFolderForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store);

  // Shows the dialog for "Copy" or "Move"; the folder, or nothing on Cancel.
  std::optional<std::filesystem::path> chooseDestination(const QString& operation);
  bool renameOnCollision() const;

  QListWidget* DestNames;
  QLineEdit* DestName;
  QLabel* Color;
  QCheckBox* cbRenameonCollision;
  QPushButton *btnRemove, *btnBrowse, *btnOK, *btnCancel;

 protected:
  void accept() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void btnRemoveClick();
  void btnBrowseClick();
  void updateColor();
  void showFolders();
  void keepFolders();

  platform::Prompter& prompter_;
  platform::SettingsStore& store_;
  TargetFolders folders_;
  std::filesystem::path chosen_;
};

}  // namespace vistrel::targets::ui
