#pragma once

#include <QDialog>
#include <filesystem>

#include "platform/prompter.h"

class QCheckBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace vistrel::metadata::ui {

class FileSelection;

// "Edit file description": the description of the focused file or of all
// selected files (descript.ion), IPTC fields pulled into it, and the comment
// segment of JPEG files.
class TDescriptForm : public QDialog {
  Q_OBJECT

 public:
  TDescriptForm(QWidget* parent, FileSelection& files, platform::Prompter& prompter);

  // Shows the focused file's description and comment; false when no file is focused.
  bool EditFocusedFile();
  // Stores the description (and the comment where asked for). False when
  // nothing was saved because the comment is too long, or a file failed.
  bool SaveDescription();
  void Navigate(int direction);
  // The IPTC import: " value " in place of the selection of the active tab's memo.
  void ImportIptc(const char* dataset);

  QTabWidget* PageControl;
  QPlainTextEdit *Memo, *ComMemo;
  QCheckBox *cbAllFiles, *cbWriteComment;
  QToolButton* btnIptc;
  QMenu* IptcPopup;
  QPushButton *btnUp, *btnDown, *btnOK, *btnCancel;

 protected:
  void showEvent(QShowEvent* event) override;
  // Page Up and Page Down step through the files, also while a memo has the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void commentTyped();
  // The comment step for one file; counts a read-only file.
  void writeComment(const std::filesystem::path& file, int& readOnly);

  FileSelection& files_;
  platform::Prompter& prompter_;
  bool commentChanged_ = false;
};

}  // namespace vistrel::metadata::ui
