#pragma once

#include <QDialog>

#include "platform/prompter.h"
#include "platform/settings_store.h"
#include "tools/transfer/transfer_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vistrel::transfer::ui {

// "Transfer images from camera or memory card": the source (the camera
// folders of the mounted cards are offered), the destination with its dated
// subfolder, copy or move, and what follows. It loads the kept settings each
// time it is shown and keeps them on OK; the main window runs the transfer.
class TImportForm : public QDialog {
  Q_OBJECT

 public:
  TImportForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store);

  // The choices as the dialog shows them.
  TransferSettings settings() const;

  QComboBox* editSource;
  QLineEdit* editDest;
  QPushButton *btnBrowseSource, *btnBrowseDest, *btnOK, *btnCancel, *btnHelp;
  QCheckBox *cbOpenFolder, *cbCreateNewFolder, *cbReadOnly, *cbRenameTransferred;
  QComboBox* DateCombo;
  QLabel *DestinationLabel, *FinalDest;
  QRadioButton *rbCopy, *rbMove, *rbRename, *rbReplace;

 protected:
  void showEvent(QShowEvent* event) override;
  void accept() override;

 private:
  void loadSettings();
  void updateFinalDest();
  void rbReplaceClick();
  void browse(QLineEdit* field);

  platform::Prompter& prompter_;
  platform::SettingsStore& store_;
};

}  // namespace vistrel::transfer::ui
