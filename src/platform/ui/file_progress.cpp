#include "platform/ui/file_progress.h"

#include <QCoreApplication>

#include "platform/text.h"

namespace vistrel::platform::ui {

FileProgress::FileProgress(QWidget* parent, const QString& caption, const QString& verb) : dialog(parent), verb_(verb) {
  dialog.setWindowTitle(caption);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(500);
  dialog.setAutoReset(false);
  dialog.setAutoClose(false);
}

FileProgress::~FileProgress() { dialog.close(); }

FileBatchEvents FileProgress::events() {
  FileBatchEvents events;
  events.starting = [this](std::size_t index, std::size_t total, const std::filesystem::path& file) {
    dialog.setMaximum(int(total));
    dialog.setLabelText(QString("%1 %2\n%3 of %4")
                            .arg(verb_, QString::fromStdString(displayName(file.filename())))
                            .arg(index + 1)
                            .arg(total));
    dialog.setValue(int(index));
    QCoreApplication::processEvents();
  };
  events.cancelled = [this] {
    QCoreApplication::processEvents();
    return dialog.wasCanceled();
  };
  return events;
}

void showFailures(Prompter& prompter, const std::vector<FileFailure>& failures, const std::string& caption) {
  if (failures.empty()) return;
  prompter.warn("These files could not be handled:\r\n\r\n" + failureListText(failures), caption);
}

}  // namespace vistrel::platform::ui
