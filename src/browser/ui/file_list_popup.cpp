#include "browser/ui/file_list_popup.h"

#include "browser/image_types.h"
#include "browser/ui/file_list.h"

namespace vistrel::browser::ui {

TFileListPopup::TFileListPopup(TFileList* list, QAction* infoPanelToggle)
    : QMenu(list), list_(list), infoPanelToggle_(infoPanelToggle) {
  Refresh1 = item(this, "Refresh", Qt::Key_F5);
  SelectAll1 = item(this, "Select All", QKeySequence(Qt::CTRL | Qt::Key_A));
  Updatecachedthumbnail1 = item(this, "Update thumbnail(s)");
  addSeparator();
  Open = item(this, "Open", QKeySequence(Qt::CTRL | Qt::Key_O));
  Openwith1 = item(this, "Open with ..");
  FileProperties = item(this, "File properties");
  Histogram1 = item(this, "Histogram", QKeySequence(Qt::CTRL | Qt::Key_G));
  addSeparator();
  Rename1 = item(this, "Rename", Qt::Key_F2);
  Delete1 = item(this, "Delete");
  Copy1 = item(this, "Copy to ..", QKeySequence(Qt::CTRL | Qt::Key_C));
  Move1 = item(this, "Move to ..", QKeySequence(Qt::CTRL | Qt::Key_X));
  // The main menu's "E-mail images" owns Ctrl+M; this one only shows it.
  Emailimages2 = addAction("Email images");
  Emailimages2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  addSeparator();
  DropTagged = item(this, "Add tagged files to drop list", QKeySequence(Qt::CTRL | Qt::Key_T));
  DropSelected = item(this, "Add highlighted files to drop list", QKeySequence(Qt::CTRL | Qt::Key_H));
  QMenu* sortBy = addMenu("Sort by");
  Name1 = item(sortBy, "Name", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
  Size1 = item(sortBy, "Size", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
  Date1 = item(sortBy, "Date", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D));
  QMenu* rotate = addMenu("JPEG rotate");
  JpgRot270 = item(rotate, "Left", QKeySequence(Qt::CTRL | Qt::Key_L));
  JpgRot90 = item(rotate, "Right", QKeySequence(Qt::CTRL | Qt::Key_R));
  JpgRot180 = item(rotate, "Upside down", QKeySequence(Qt::CTRL | Qt::Key_U));
  rotate->addSeparator();
  JpgRotAuto = item(rotate, "Rotate as the camera says");
  addSeparator();
  popup_EncryptFiles = item(this, "Encrypt files", QKeySequence(Qt::CTRL | Qt::Key_E));
  popup_DecryptFiles = item(this, "Decrypt files", QKeySequence(Qt::CTRL | Qt::Key_D));
  Filewipe1 = item(this, "Filewipe");
  addSeparator();
  EXIFinformation1 = item(this, "Show info panel", QKeySequence(Qt::CTRL | Qt::Key_I));
  EXIFinformation1->setCheckable(true);
  EditExifDate = item(this, "Edit EXIF date/time");
  EditIPTCinfo1 = item(this, "Edit IPTC info", Qt::Key_F11);
  EditDescription = item(this, "Edit file description", Qt::Key_F12);

  connect(this, &QMenu::aboutToShow, this, &TFileListPopup::updateItems);
  connect(SelectAll1, &QAction::triggered, list, &QAbstractItemView::selectAll);
  connect(Rename1, &QAction::triggered, list, &TFileList::startRename);
  connect(Delete1, &QAction::triggered, list, &TFileList::deleteSelected);
  connect(Updatecachedthumbnail1, &QAction::triggered, list, &TFileList::updateThumbnails);
  connect(Name1, &QAction::triggered, list, [list] { list->sortByColumn(0, true); });
  connect(Size1, &QAction::triggered, list, [list] { list->sortByColumn(1, true); });
  connect(Date1, &QAction::triggered, list, [list] { list->sortByColumn(2, true); });
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list, &QWidget::customContextMenuRequested, this,
          [this, list](const QPoint& pos) { popup(list->viewport()->mapToGlobal(pos)); });
}

QAction* TFileListPopup::item(QMenu* menu, const char* caption, const QKeySequence& shortcut) {
  QAction* action = menu->addAction(caption);
  action->setShortcut(shortcut);
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  list_->addAction(action);
  return action;
}

void TFileListPopup::updateItems() {
  EXIFinformation1->setChecked(infoPanelToggle_->isChecked());
  const std::filesystem::path file = list_->focusedFile();
  if (file.empty()) return;
  const bool jpeg = browser::isJpegFile(file);
  for (QAction* action : {JpgRot270, JpgRot90, JpgRot180, JpgRotAuto, EditIPTCinfo1, EditExifDate}) {
    action->setEnabled(jpeg);
  }
}

}  // namespace vistrel::browser::ui
