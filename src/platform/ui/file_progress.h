#pragma once

#include <QProgressDialog>
#include <QString>

#include "platform/file_operation.h"

namespace vistrel::platform::ui {

// The progress of a batch of files: a dialog with the verb, the file, its
// number " of " the total, and Cancel, which ends the batch after the file
// at hand. It shows itself only when the batch takes a moment.
class FileProgress {
 public:
  FileProgress(QWidget* parent, const QString& caption, const QString& verb);
  ~FileProgress();

  FileBatchEvents events();

  QProgressDialog dialog;

 private:
  QString verb_;
};

// After a batch: the files that failed, with the reasons, in one message.
void showFailures(Prompter& prompter, const std::vector<FileFailure>& failures, const std::string& caption);

}  // namespace vistrel::platform::ui
