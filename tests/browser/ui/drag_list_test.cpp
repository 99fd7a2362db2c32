#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>

#include "browser/ui/drag_list_box.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::browser::ui {
namespace {

namespace fs = std::filesystem;

// Sends a drag from another program through the list's real event path, as a
// file manager's drop arrives: enter, move, drop on the viewport.
Qt::DropAction dropFiles(TDragListBox& list, const QStringList& files, Qt::DropActions offered,
                         Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& file : files) urls << QUrl::fromLocalFile(file);
  mime.setUrls(urls);
  EXPECT_TRUE(mime.hasFormat("text/uri-list"));
  const QPoint at(10, 10);
  QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(list.viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(at, offered, &mime, Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(list.viewport(), &move);
  EXPECT_TRUE(move.isAccepted());
  QDropEvent drop(QPointF(at), offered, &mime, Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(list.viewport(), &drop);
  EXPECT_TRUE(drop.isAccepted());
  return drop.dropAction();
}

std::vector<std::string> entriesOf(std::initializer_list<const char*> paths) { return {paths.begin(), paths.end()}; }

TEST(DragListDrops, EveryKindOfDragAddsTheDroppableImagesInOrder) {
  const QStringList files{"/photos/a.JPG", "/photos/b.png", "/photos/c.tif"};
  for (Qt::DropAction action : {Qt::CopyAction, Qt::MoveAction, Qt::LinkAction}) {
    TDragListBox list;
    dropFiles(list, files, action);
    EXPECT_EQ(list.entries(), entriesOf({"/photos/a.JPG", "/photos/c.tif"})) << action;
  }
  TDragListBox list;
  dropFiles(list, {"/photos/d.jpeg"}, Qt::CopyAction);
  dropFiles(list, {"/photos/d.jpeg", "/photos/e.GIF", "/photos/f.bmp", "/photos/g.psd"}, Qt::CopyAction);
  EXPECT_EQ(list.entries(),
            entriesOf({"/photos/d.jpeg", "/photos/d.jpeg", "/photos/e.GIF", "/photos/f.bmp", "/photos/g.psd"}));
}

TEST(DragListDrops, AMoveDragIsTakenAsACopySoTheFileManagerKeepsTheFiles) {
  TDragListBox list;
  const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
  EXPECT_EQ(dropFiles(list, {"/photos/a.jpg"}, all, Qt::ShiftModifier), Qt::CopyAction);
  EXPECT_EQ(dropFiles(list, {"/photos/b.jpg"}, Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
  EXPECT_EQ(list.count(), 2);
}

TEST(DragListDrops, ADragWithoutLocalFilesIsRefused) {
  TDragListBox list;
  QMimeData mime;
  mime.setUrls({QUrl("https://example.org/a.jpg")});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

TEST(DragListDrops, ASavedListOfDroppedFilesLoadsBackIdentically) {
  test::TempFolder folder;
  test::ScriptedPrompter prompter;
  TDragListBox list;
  dropFiles(list, {"/photos/été 2024/a b.JPG", "/photos/x&y/c.tif", "/photos/100%/d.jpg"}, Qt::CopyAction);
  ASSERT_EQ(list.count(), 3);
  ASSERT_TRUE(list.saveList(folder / "dropped", prompter));
  TDragListBox loaded;
  loaded.openList(folder / "dropped.vfl");
  EXPECT_EQ(loaded.entries(), list.entries());
  EXPECT_EQ(loaded.entries()[0], "/photos/été 2024/a b.JPG");
}

}  // namespace
}  // namespace vistrel::browser::ui
