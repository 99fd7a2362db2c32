#include "browser/ui/file_icon_view.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "browser/ui/file_list.h"

namespace vistrel::browser::ui {

namespace {

// The delegate lays the check box out from the option it completes itself.
struct OptionReader : QStyledItemDelegate {
  using QStyledItemDelegate::initStyleOption;
};

}  // namespace

FileIconView::FileIconView(TFileList* list) : QListView(list), list_(list) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setMovement(QListView::Static);
  setResizeMode(QListView::Adjust);
  setWrapping(true);
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragOnly);
  setContextMenuPolicy(Qt::CustomContextMenu);
}

QRect FileIconView::checkBoxRect(const QModelIndex& index) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  OptionReader().initStyleOption(&option, index);
  return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

void FileIconView::keyPressEvent(QKeyEvent* event) {
  if (!list_->handleKeyPress(event)) QListView::keyPressEvent(event);
}

void FileIconView::keyReleaseEvent(QKeyEvent* event) {
  QListView::keyReleaseEvent(event);
  list_->handleKeyRelease(event);
}

void FileIconView::startDrag(Qt::DropActions) { list_->dragSelectedFiles(); }

}  // namespace vistrel::browser::ui
