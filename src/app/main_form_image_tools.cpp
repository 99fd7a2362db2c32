#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>

#include "app/main_form.h"
#include "browser/image_types.h"
#include "browser/ui/file_list_popup.h"
#include "browser/ui/rotate_files.h"
#include "imaging/lossless_transform.h"
#include "imaging/ui/resize_form.h"

// The main window's commands on pictures: lossless JPEG rotation from the
// file list's menu and the tool bar, and the quick resize window.

namespace vistrel::app {

using imaging::JpegTransform;

void TMainForm::createImageToolCommands() {
  const std::pair<QAction*, std::optional<JpegTransform>> popupItems[] = {
      {FileListPopup->JpgRot270, JpegTransform::Rotate270},
      {FileListPopup->JpgRot90, JpegTransform::Rotate90},
      {FileListPopup->JpgRot180, JpegTransform::Rotate180},
      {FileListPopup->JpgRotAuto, std::nullopt}};
  const QList<QAction*> toolItems = JpegRotPopupMenu->actions();
  for (int i = 0; i < 4; ++i) {
    const auto& [item, transform] = popupItems[i];
    const auto rotate = [this, transform = transform] { rotateSelected(transform); };
    connect(item, &QAction::triggered, this, rotate);
    connect(toolItems[i], &QAction::triggered, this, rotate);
  }
  connect(JpegRotPopupMenu, &QMenu::aboutToShow, this, [this] {
    if (focusedFile().empty()) return;
    const bool jpeg = browser::isJpegFile(focusedFile());
    for (QAction* item : JpegRotPopupMenu->actions()) item->setEnabled(jpeg);
  });
  connect(btnQuickResize, &QAction::triggered, this, &TMainForm::btnQuickResizeClick);
}

void TMainForm::showProgressText(const QString& text) {
  setStatusText(text);
  statusPanels[0]->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMainForm::rotateSelected(std::optional<JpegTransform> transform) {
  if (selectedCount() == 0) return;
  setStatusText(browser::ui::rotateSelectedFiles(*FileList, transform, options_, prompter_,
                                                 [this](const QString& text) { showProgressText(text); }));
  if (options_.replaceJpegRot) showPreview(focusedFile());
}

void TMainForm::btnQuickResizeClick() {
  if (!needsSelection("You must select one or more files in the main file list.", "No files selected",
                      platform::Icon::Error)) {
    return;
  }
  if (!ResizeForm) {
    ResizeForm = new imaging::TResizeForm(store_, prompter_, this);
    connect(ResizeForm, &imaging::TResizeForm::statusText, this, &TMainForm::showProgressText);
  }
  ResizeForm->setFiles(selectedFiles());
  ResizeForm->exec();
}

}  // namespace vistrel::app
