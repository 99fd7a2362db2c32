#include <QAction>
#include <QMenu>
#include <QToolButton>

#include "app/file_list_selection.h"
#include "app/main_form.h"
#include "browser/ui/file_list_popup.h"
#include "metadata/iptc_template.h"
#include "metadata/ui/descript_form.h"
#include "metadata/ui/exif_date_form.h"
#include "metadata/ui/file_date_form.h"
#include "metadata/ui/iptc_form.h"

// The main window's side of the metadata editors: the IPTC editor, the file
// and EXIF date dialogs and the description dialog, each over the file list.

namespace vistrel::app {

namespace {

FileListSelection selectionOf(TMainForm& form) {
  return FileListSelection(*form.FileList, [&form](const QString& text) { form.setStatusText(text); });
}

}  // namespace

void TMainForm::createEditorCommands() {
  connect(FileListPopup->EditIPTCinfo1, &QAction::triggered, this, &TMainForm::EditIPTCinfo1Click);
  connect(FileListPopup->EditExifDate, &QAction::triggered, this, &TMainForm::EditExifDateClick);
  connect(btnDescription, &QAction::triggered, this, &TMainForm::btnDescriptionClick);
  connect(Setfiledate1, &QAction::triggered, this, &TMainForm::btnFileDateClick);
  const QList<QAction*> dateItems = btnFileDate->menu()->actions();
  connect(dateItems.at(0), &QAction::triggered, Setfiledate1, &QAction::trigger);
  connect(dateItems.at(1), &QAction::triggered, this, &TMainForm::EditExifDateClick);
}

void TMainForm::EditIPTCinfo1Click() {
  FileListSelection selection = selectionOf(*this);
  metadata::ui::TIptcForm form(this, selection, prompter_, programData_ / metadata::kIptcTemplateFolder);
  form.KeepTimeStamp = options_.keepDateIptcEdit;
  if (form.EditFocusedFile()) form.exec();
}

void TMainForm::btnFileDateClick() {
  if (!needsSelection("You must select at least\r\none file in the file list.", "No files selected",
                      platform::Icon::Error)) {
    return;
  }
  FileListSelection selection = selectionOf(*this);
  metadata::ui::TFileDateForm form(this, selection, prompter_);
  form.exec();
}

void TMainForm::EditExifDateClick() {
  FileListSelection selection = selectionOf(*this);
  metadata::ui::EditExifDate(this, selection, prompter_);
}

void TMainForm::btnDescriptionClick() {
  FileListSelection selection = selectionOf(*this);
  metadata::ui::TDescriptForm form(this, selection, prompter_);
  if (form.EditFocusedFile()) form.exec();
}

}  // namespace vistrel::app
