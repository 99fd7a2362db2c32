#include "browser/ui/drag_list_box.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "browser/drag_list_file.h"
#include "browser/image_types.h"

namespace vistrel::browser::ui {
namespace fs = std::filesystem;

TDragListBox::TDragListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setAcceptDrops(true);
}

std::vector<std::string> TDragListBox::entries() const {
  std::vector<std::string> result;
  for (int row = 0; row < count(); ++row) result.push_back(item(row)->text().toStdString());
  return result;
}

void TDragListBox::setEntries(const std::vector<std::string>& entries) {
  clear();
  for (const std::string& entry : entries) addItem(QString::fromStdString(entry));
}

void TDragListBox::addFiles(const std::vector<fs::path>& files) {
  std::vector<std::string> present = entries();
  for (const fs::path& file : files) {
    std::error_code ec;
    const std::string text = file.string();
    if (!fs::exists(file, ec) || std::find(present.begin(), present.end(), text) != present.end()) continue;
    addItem(QString::fromStdString(text));
    present.push_back(text);
  }
}

void TDragListBox::addDropped(const QList<QUrl>& urls) {
  for (const QUrl& url : urls) {
    const QString file = url.toLocalFile();
    if (!file.isEmpty() && browser::isDroppableImage(file.toStdString())) addItem(file);
  }
}

bool TDragListBox::saveList(const fs::path& file, platform::Prompter& prompter) {
  const fs::path target = browser::withDragListExtension(file);
  std::error_code ec;
  if (fs::exists(target, ec) && prompter.ask("OK to overwrite " + target.string(), "Confirm",
                                              platform::Buttons::YesNoCancel,
                                              platform::Icon::Question) != platform::Answer::Yes) {
    return false;
  }
  browser::writeDragList(target, entries());
  return true;
}

void TDragListBox::openList(const fs::path& file) { setEntries(browser::readDragList(file)); }

fs::path TDragListBox::currentFile() const {
  return currentItem() ? fs::path(currentItem()->text().toStdString()) : fs::path();
}

namespace {

bool holdsLocalFiles(const QMimeData* mime) {
  const QList<QUrl> urls = mime->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

// The list keeps only the paths, so a drop must never be taken as a move: the
// program the files come from would then remove them. Copy or link leave them.
void acceptAsReference(QDropEvent* event) {
  const Qt::DropActions offered = event->possibleActions();
  if (offered & Qt::CopyAction) {
    event->setDropAction(Qt::CopyAction);
  } else if (offered & Qt::LinkAction) {
    event->setDropAction(Qt::LinkAction);
  } else {
    event->setDropAction(event->proposedAction());
  }
  event->accept();
}

}  // namespace

void TDragListBox::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() == this) return QListWidget::dragEnterEvent(event);
  if (holdsLocalFiles(event->mimeData())) acceptAsReference(event);
}

void TDragListBox::dragMoveEvent(QDragMoveEvent* event) {
  if (event->source() == this) return QListWidget::dragMoveEvent(event);
  if (holdsLocalFiles(event->mimeData())) acceptAsReference(event);
}

// An entry dragged inside the list moves to the entry under the pointer, or to
// the end when dropped below the last one; files from other programs are added.
void TDragListBox::dropEvent(QDropEvent* event) {
  if (event->source() != this) {
    addDropped(event->mimeData()->urls());
    acceptAsReference(event);
    return;
  }
  QListWidgetItem* moving = currentItem();
  if (!moving) return;
  QListWidgetItem* under = itemAt(event->position().toPoint());
  const int target = under ? row(under) : count() - 1;
  takeItem(row(moving));
  insertItem(target, moving);
  setCurrentItem(moving);
  event->setDropAction(Qt::CopyAction);  // the list itself already moved the entry
  event->accept();
}

void TDragListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    qDeleteAll(selectedItems());
  } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit fullScreenRequested();
  } else {
    QListWidget::keyPressEvent(event);
  }
}

void TDragListBox::keyReleaseEvent(QKeyEvent* event) {
  QListWidget::keyReleaseEvent(event);
  if (currentItem()) emit previewRequested();
}

void TDragListBox::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  if (currentItem()) emit previewRequested();
}

}  // namespace vistrel::browser::ui
