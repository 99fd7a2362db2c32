#pragma once

#include <QListView>

namespace vistrel::browser::ui {

class TFileList;

// The List, Small icons and Thumbnails faces of the file list. It shows the
// list's own rows and shares its selection, so tags, selection and every
// command work the same whichever view is up; keys and drags go back to the
// list's handling.
class FileIconView : public QListView {
  Q_OBJECT

 public:
  explicit FileIconView(TFileList* list);

  bool editing() const { return state() == EditingState; }
  // Where the row's check box is drawn, in viewport coordinates.
  QRect checkBoxRect(const QModelIndex& index) const;
  // The cell a row with this name takes in the List view, check box and icon included.
  QSize listCellFor(const QString& name, const QFont& font) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;

 private:
  TFileList* list_;
};

}  // namespace vistrel::browser::ui
