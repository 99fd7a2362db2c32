#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/desktop_entries.h"

class QLineEdit;
class QListWidget;

namespace vistrel::browser::ui {

// "Open with ..": the applications that declare the file's type, and a line
// for any other command.
class TOpenWithForm : public QDialog {
  Q_OBJECT

 public:
  // Offers the applications found in `folders` (applicationFolders() by default).
  TOpenWithForm(std::filesystem::path file, const std::vector<std::filesystem::path>& folders,
                QWidget* parent = nullptr);

  // The program and its arguments for the chosen application. Throws Error.
  std::vector<std::string> commandLine() const;
  // Starts the chosen application on the file, detached and without a shell.
  // Throws Error when it cannot be started.
  void openFile() const;

  QListWidget* lbApplications;
  QLineEdit* editCommand;

 private:
  bool otherChosen() const;

  std::filesystem::path file_;
  std::vector<platform::DesktopEntry> entries_;
};

}  // namespace vistrel::browser::ui
