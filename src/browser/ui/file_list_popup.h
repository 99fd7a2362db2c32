#pragma once

#include <QMenu>

namespace vistrel::browser::ui {

class TFileList;

// The context menu of the file list. Its shortcuts work while the list has the
// focus. Opening it enables the JPEG-only items by the selected file's type and
// checks "Show info panel" as the View menu item is.
class TFileListPopup : public QMenu {
  Q_OBJECT

 public:
  TFileListPopup(TFileList* list, QAction* infoPanelToggle);

  QAction *Refresh1, *SelectAll1, *Updatecachedthumbnail1, *Open, *Openwith1, *FileProperties, *Histogram1, *Rename1,
      *Delete1, *Copy1, *Move1, *Emailimages2, *DropTagged, *DropSelected, *Name1, *Size1, *Date1, *JpgRot270,
      *JpgRot90, *JpgRot180, *JpgRotAuto, *popup_EncryptFiles, *popup_DecryptFiles, *Filewipe1, *EXIFinformation1,
      *EditExifDate, *EditIPTCinfo1, *EditDescription;

  // Enables the JPEG-only items for the selected file.
  void updateItems();

 private:
  QAction* item(QMenu* menu, const char* caption, const QKeySequence& shortcut = {});

  TFileList* list_;
  QAction* infoPanelToggle_;
};

}  // namespace vistrel::browser::ui
