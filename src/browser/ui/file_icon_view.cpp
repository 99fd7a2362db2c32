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

// Every row takes its whole cell of the grid, so that laying out a folder of
// 100,000 files measures no texts.
class GridDelegate : public QStyledItemDelegate {
 public:
  explicit GridDelegate(QListView* view) : QStyledItemDelegate(view), view_(view) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return view_->gridSize().isValid() ? view_->gridSize() : QStyledItemDelegate::sizeHint(option, index);
  }

 private:
  QListView* view_;
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
  setItemDelegate(new GridDelegate(this));
}

QRect FileIconView::checkBoxRect(const QModelIndex& index) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  OptionReader().initStyleOption(&option, index);
  return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

QSize FileIconView::listCellFor(const QString& name, const QFont& font) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration |
                     QStyleOptionViewItem::HasDisplay;
  option.text = name;
  option.font = font;
  option.fontMetrics = QFontMetrics(font);
  return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
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
