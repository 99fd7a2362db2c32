#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QListView>
#include <QProgressBar>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <map>

#include "app/main_form.h"
#include "app/options_form.h"
#include "browser/cache_folder.h"
#include "main_form_fixture.h"
#include "browser/cache_location.h"
#include "browser/ui/drag_list_box.h"
#include "browser/ui/file_icon_view.h"
#include "browser/ui/file_list.h"
#include "browser/ui/file_list_popup.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/ui/resize_form.h"
#include "metadata/descriptions.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::app {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

class FileListTest : public MainFormFixture {
 protected:
  int rowOf(const std::string& name) const {
    for (int row = 0; row < form->FileList->topLevelItemCount(); ++row) {
      if (form->FileList->topLevelItem(row)->text(0).toStdString() == name) return row;
    }
    return -1;
  }

  void select(std::initializer_list<const char*> names) {
    form->FileList->clearSelection();
    for (const char* name : names) form->FileList->topLevelItem(rowOf(name))->setSelected(true);
  }

  std::vector<fs::path> paths(std::initializer_list<const char*> names) const {
    std::vector<fs::path> result;
    for (const char* name : names) result.push_back(photos / name);
    return result;
  }

  QModelIndex indexOf(const std::string& name) const { return form->FileList->model()->index(rowOf(name), 0); }

  void clickIn(const QListView* view, const QRect& rect, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
  }

  int drawnCount() const {
    int drawn = 0;
    for (int row = 0; row < form->FileList->topLevelItemCount(); ++row) {
      drawn += !form->FileList->thumbnailOf(row).isNull();
    }
    return drawn;
  }

  // Starts a thumbnail load of `count` photos that each take a while to cache.
  void listPhotosAsThumbnails(int count) {
    imaging::TBitmap blue(1200, 900);
    blue.Fill(0, 0, 255);
    for (int i = 0; i < count; ++i) imaging::SaveBitmapAsJpeg(photos / ("p" + std::to_string(100 + i) + ".jpg"), blue);
    form->options().cacheMinFileSize = 1;
    form->setViewStyle(ViewStyle::Thumbnails);
    list();
  }

  void waitForThumbnails() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->FileList->thumbnailsLoading() && form->progressBar()->isHidden(); },
                                20000));
  }
};

TEST_F(FileListTest, TaggingButtonsDecideTheTaggedAndSelectedJobSets) {
  for (const char* name : {"a.jpg", "b.jpg", "c.png", "notes.txt"}) photos.write(name, name);
  list();
  ASSERT_EQ(form->FileList->topLevelItemCount(), 3);  // notes.txt only with all files shown
  select({"b.jpg", "c.png"});
  EXPECT_EQ(form->selectedFiles(), paths({"b.jpg", "c.png"}));
  EXPECT_EQ(form->focusedFile(), photos / "b.jpg");
  EXPECT_TRUE(form->taggedFiles().empty());

  form->btnTagHighlighted->trigger();
  EXPECT_EQ(form->taggedFiles(), paths({"b.jpg", "c.png"}));
  EXPECT_TRUE(form->FileList->topLevelItem(rowOf("b.jpg"))->font(0).bold());
  EXPECT_FALSE(form->FileList->topLevelItem(rowOf("a.jpg"))->font(0).bold());
  select({"c.png"});
  form->btnUntagHighlighted->trigger();
  EXPECT_EQ(form->taggedFiles(), paths({"b.jpg"}));
  form->btnTagAll->trigger();
  EXPECT_EQ(form->taggedFiles().size(), 3u);
  form->btnUntagAll->trigger();
  EXPECT_TRUE(form->taggedFiles().empty());
  EXPECT_FALSE(form->FileList->topLevelItem(rowOf("b.jpg"))->font(0).bold());
}

TEST_F(FileListTest, EachViewShowsItsWidgetInItsMode) {
  for (const char* name : {"a.jpg", "b.jpg", "c.png"}) photos.write(name, name);
  QListView* icons = form->FileList->iconView();
  EXPECT_EQ(icons->model(), form->FileList->model());
  EXPECT_EQ(icons->selectionModel(), form->FileList->selectionModel());

  list();
  EXPECT_FALSE(icons->isVisibleTo(form.get()));
  EXPECT_EQ(form->FileList->activeView(), form->FileList);

  form->setViewStyle(ViewStyle::List);
  list();
  ASSERT_TRUE(icons->isVisibleTo(form.get()));
  EXPECT_EQ(form->FileList->activeView(), icons);
  EXPECT_EQ(icons->geometry(), form->FileList->rect());
  EXPECT_EQ(icons->viewMode(), QListView::ListMode);
  EXPECT_EQ(icons->flow(), QListView::TopToBottom);
  EXPECT_TRUE(icons->isWrapping());
  EXPECT_EQ(icons->iconSize(), QSize(16, 16));

  // Room for a few columns of the name column's width.
  form->resize(1400, form->height());
  form->setViewStyle(ViewStyle::SmallIcons);
  list();
  EXPECT_EQ(icons->viewMode(), QListView::ListMode);
  EXPECT_EQ(icons->flow(), QListView::LeftToRight);
  EXPECT_TRUE(icons->gridSize().isValid());
  // The grid flows left to right: b sits right of a on the same line.
  EXPECT_EQ(icons->visualRect(indexOf("b.jpg")).top(), icons->visualRect(indexOf("a.jpg")).top());
  EXPECT_GT(icons->visualRect(indexOf("b.jpg")).left(), icons->visualRect(indexOf("a.jpg")).left());

  form->options().cacheMinFileSize = 1;
  form->setViewStyle(ViewStyle::Thumbnails);
  list();
  waitForThumbnails();
  EXPECT_EQ(icons->viewMode(), QListView::IconMode);
  EXPECT_EQ(icons->iconSize(), QSize(80, 80));
  EXPECT_GE(icons->gridSize().width(), 80);

  form->setViewStyle(ViewStyle::Details);
  EXPECT_FALSE(icons->isVisibleTo(form.get()));
}

TEST_F(FileListTest, ViewMenuKeepsTagsBetweenTheListViewsAndOffersTheMenuInEach) {
  for (const char* name : {"a.jpg", "b.jpg"}) photos.write(name, name);
  list();
  const auto choose = [&](const char* caption) {
    for (QAction* item : form->ViewtypePopup->actions()) {
      if (item->text() == caption) item->trigger();
    }
  };
  form->FileList->topLevelItem(rowOf("b.jpg"))->setCheckState(0, Qt::Checked);
  select({"a.jpg"});
  choose("List");
  choose("Small icons");
  EXPECT_EQ(form->taggedFiles(), paths({"b.jpg"}));
  EXPECT_EQ(form->selectedFiles(), paths({"a.jpg"}));

  emit form->FileList->iconView()->customContextMenuRequested(QPoint(5, 5));
  EXPECT_TRUE(form->FileListPopup->isVisible());
  form->FileListPopup->close();

  choose("Thumbnails");  // a new listing, with pictures
  EXPECT_TRUE(form->taggedFiles().empty());
  EXPECT_EQ(form->FileList->viewStyle(), ViewStyle::Thumbnails);
}

// The List view's columns share one width, that of the widest name as drawn
// when tagged (bold), so that no name is cut and a layout measures no names.
TEST_F(FileListTest, ListColumnsAreAsWideAsTheWidestNameAndWidenWhenARenameNeedsIt) {
  const std::string wide = "a rather wide name for a photo, 2026.jpg";
  for (const std::string& name : {std::string("a.jpg"), wide}) photos.write(name, name);
  list();
  form->setViewStyle(ViewStyle::List);  // the rows are there before the view
  QListView* icons = form->FileList->iconView();
  const auto wholeWidth = [&](const std::string& name) {
    QStyleOptionViewItem option;
    option.initFrom(icons);
    option.decorationSize = icons->iconSize();
    return QStyledItemDelegate().sizeHint(option, indexOf(name)).width();
  };
  form->FileList->topLevelItem(rowOf(wide))->setCheckState(0, Qt::Checked);
  QCoreApplication::processEvents();
  EXPECT_EQ(icons->visualRect(indexOf("a.jpg")).size(), icons->visualRect(indexOf(wide)).size());
  EXPECT_GE(icons->visualRect(indexOf(wide)).width(), wholeWidth(wide));

  const std::string wider = wide + ", renamed to be wider still.jpg";
  form->FileList->renameRow(photos / "a.jpg", photos / wider);
  QCoreApplication::processEvents();
  EXPECT_GE(icons->visualRect(indexOf(wider)).width(), wholeWidth(wider));
  EXPECT_EQ(icons->visualRect(indexOf(wide)).size(), icons->visualRect(indexOf(wider)).size());
}

TEST_F(FileListTest, TicksAndSelectionInTheIconViewsAreTheListsJobSets) {
  for (const char* name : {"a.jpg", "b.jpg", "c.png"}) photos.write(name, name);
  form->options().cacheMinFileSize = 1;
  for (ViewStyle style : {ViewStyle::List, ViewStyle::SmallIcons, ViewStyle::Thumbnails}) {
    form->setViewStyle(style);
    list();
    waitForThumbnails();
    auto* icons = static_cast<browser::ui::FileIconView*>(form->FileList->iconView());
    const QRect box = icons->checkBoxRect(indexOf("b.jpg"));
    ASSERT_TRUE(icons->visualRect(indexOf("b.jpg")).contains(box)) << int(style);
    clickIn(icons, box);
    EXPECT_EQ(form->taggedFiles(), paths({"b.jpg"})) << int(style);
    EXPECT_TRUE(form->FileList->topLevelItem(rowOf("b.jpg"))->font(0).bold());

    const QRect c = icons->visualRect(indexOf("c.png"));
    clickIn(icons, QRect(c.right() - 8, c.center().y(), 1, 1));
    clickIn(icons, icons->visualRect(indexOf("a.jpg")).adjusted(box.width() + 4, 0, 0, 0), Qt::ControlModifier);
    EXPECT_EQ(form->selectedFiles(), paths({"a.jpg", "c.png"})) << int(style);
    EXPECT_EQ(form->statusPanels[0]->text(), "2 file(s) selected");
    EXPECT_EQ(form->taggedFiles(), paths({"b.jpg"}));

    // Rows move with Alt+Up/Down in the List view only.
    clickIn(icons, icons->visualRect(indexOf("a.jpg")).adjusted(box.width() + 4, 0, 0, 0));
    QTest::keyClick(icons, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(rowOf("a.jpg"), style == ViewStyle::List ? 1 : 0) << int(style);
  }
}

TEST_F(FileListTest, LeavingTheThumbnailViewStopsTheLoad) {
  constexpr int kPhotos = 24;
  listPhotosAsThumbnails(kPhotos);
  ASSERT_TRUE(form->FileList->thumbnailsLoading());
  form->FileList->setViewStyle(ViewStyle::SmallIcons);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form->FileList->thumbnailsLoading(); }, 20000));
  QCoreApplication::processEvents();
  EXPECT_TRUE(form->FileList->thumbnailOf(kPhotos - 1).isNull());
}

TEST_F(FileListTest, ALargeFolderComesInSlicesInOrderAndAnotherFolderListedMeanwhileDropsTheRest) {
  constexpr int kFiles = 12000;
  const auto nameOf = [](int i) { return "p" + std::string(5 - std::to_string(i).size(), '0') + std::to_string(i) + ".jpg"; };
  photos.write(nameOf(0), "x");
  for (int i = kFiles - 1; i > 0; --i) fs::create_hard_link(photos / nameOf(0), photos / nameOf(i));
  list();
  EXPECT_LT(form->FileList->topLevelItemCount(), kFiles);  // the rest comes between events
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->FileList->topLevelItemCount() == kFiles; }, 20000));
  for (int row = 0; row < kFiles; ++row) ASSERT_EQ(form->FileList->topLevelItem(row)->text(0).toStdString(), nameOf(row));
  EXPECT_EQ(form->statusPanels[0]->text(), QString::number(kFiles) + " files");

  list();
  // Inside a folder the tree has not read yet: a new folder beside ones it has read may show only on a later turn.
  const fs::path other = folder / "other";
  fs::create_directory(other);
  std::ofstream(other / "a.jpg") << "a";
  form->setCurrentFolder(other.string());
  form->listFolder();
  for (int turn = 0; turn < 5; ++turn) QCoreApplication::processEvents();
  ASSERT_EQ(form->FileList->topLevelItemCount(), 1);
  EXPECT_EQ(form->FileList->topLevelItem(0)->text(0), "a.jpg");
}

TEST_F(FileListTest, HintsAndDescriptionColoursShowInTheThumbnailViewOnly) {
  metadata::SetDescription(photos.write("a.jpg", "a"), "Harbour");
  photos.write("b.jpg", "b");
  list();
  const auto row = [&](const char* name) { return form->FileList->topLevelItem(rowOf(name)); };
  EXPECT_TRUE(row("a.jpg")->toolTip(0).isEmpty());
  EXPECT_EQ(row("a.jpg")->background(0).style(), Qt::NoBrush);

  form->setViewStyle(ViewStyle::Thumbnails);
  list();
  waitForThumbnails();
  const QString hint = QString::fromStdString((photos / "a.jpg").string()) + "\nSize: " + row("a.jpg")->text(1) +
                       "\nDate: " + row("a.jpg")->text(2);
  EXPECT_EQ(row("a.jpg")->toolTip(3), hint);
  const options::Colour described = form->options().descriptionCol;
  EXPECT_EQ(row("a.jpg")->background(0).color(),
            QColor(described & 0xFF, (described >> 8) & 0xFF, (described >> 16) & 0xFF));
  EXPECT_EQ(row("b.jpg")->background(0).style(), Qt::NoBrush);
}

TEST_F(FileListTest, HeaderClicksSortAndAltDownMovesARowUntagged) {
  photos.write("a.jpg", std::string(5000, 'a'));
  photos.write("b.jpg", std::string(100, 'b'));
  photos.write("c.jpg", std::string(3000, 'c'));
  list();
  const auto order = [&] {
    std::string names;
    for (int row = 0; row < form->FileList->topLevelItemCount(); ++row) {
      names += form->FileList->topLevelItem(row)->text(0).toStdString().substr(0, 1);
    }
    return names;
  };
  EXPECT_EQ(order(), "abc");
  QTest::mouseClick(form->FileList->header()->viewport(), Qt::LeftButton, {},
                    QPoint(form->FileList->header()->sectionViewportPosition(1) + 5, 5));
  EXPECT_EQ(order(), "bca");  // a fresh size flag sorts ascending on the first click
  form->FileListPopup->Name1->trigger();
  EXPECT_EQ(order(), "cba");

  form->FileList->topLevelItem(0)->setCheckState(0, Qt::Checked);
  select({"c.jpg"});
  form->FileList->setCurrentItem(form->FileList->topLevelItem(0));
  QTest::keyClick(form->FileList, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(order(), "bca");
  EXPECT_EQ(form->FileList->topLevelItem(1)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(form->selectedFiles(), paths({"c.jpg"}));
}

TEST_F(FileListTest, DragListTakesDroppedImagesAndTaggedFilesAndRoundTripsThroughAListFile) {
  TDragListBox* drag = form->DragListBox;
  drag->addDropped({QUrl::fromLocalFile("/photos/a.JPG"), QUrl::fromLocalFile("/photos/b.png"),
                    QUrl::fromLocalFile("/photos/c.tif")});
  EXPECT_EQ(drag->entries(), (std::vector<std::string>{"/photos/a.JPG", "/photos/c.tif"}));

  photos.write("d.jpg", "d");
  photos.write("e.jpg", "e");
  list();
  form->FileList->tagRows(true, false);
  form->FileListPopup->DropTagged->trigger();
  form->FileListPopup->DropTagged->trigger();  // nothing twice
  EXPECT_EQ(form->dragListFiles().size(), 4u);
  EXPECT_EQ(form->dragListFiles()[3], photos / "e.jpg");

  drag->saveList(folder / "mylist", prompter);
  ASSERT_TRUE(fs::exists(folder / "mylist.vfl"));
  const std::vector<std::string> saved = drag->entries();
  form->btnClear->click();
  EXPECT_EQ(drag->count(), 0);
  prompter.expect("OK to overwrite", Answer::No);
  EXPECT_FALSE(drag->saveList(folder / "mylist.vfl", prompter));
  drag->openList(folder / "mylist.vfl");
  EXPECT_EQ(drag->entries(), saved);
}

TEST_F(FileListTest, RenameInTheListCarriesTheDescription) {
  const fs::path photo = photos.write("a.jpg", "a");
  metadata::SetDescription(photo, "Harbour");
  const auto rename = [&](const char* from, const char* to) {
    list();
    select({from});
    form->FileList->startRename();
    auto* editor = form->FileList->activeView()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(to);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits its text from the event loop
    EXPECT_TRUE(fs::exists(photos / to));
    EXPECT_EQ(form->focusedFile(), photos / to);
    EXPECT_EQ(metadata::DescriptionOf(photos / to), "Harbour");
  };
  rename("a.jpg", "harbour.jpg");
  form->setViewStyle(ViewStyle::SmallIcons);
  rename("harbour.jpg", "boat.jpg");
}

TEST_F(FileListTest, FilewipeWipesTheTaggedFilesOnly) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) photos.write(name, name);
  list();
  form->FileList->topLevelItem(rowOf("a.jpg"))->setCheckState(0, Qt::Checked);
  form->FileList->topLevelItem(rowOf("c.jpg"))->setCheckState(0, Qt::Checked);
  select({"b.jpg"});
  // The question names the tagged files, which need not be the highlighted ones.
  prompter.expect("The 2 tagged files:\r\na.jpg\r\nc.jpg\r\n\r\nAre you sure you want to wipe the tagged file(s)?",
                  Answer::Yes);
  form->FileListPopup->Filewipe1->trigger();
  EXPECT_FALSE(fs::exists(photos / "a.jpg"));
  EXPECT_TRUE(fs::exists(photos / "b.jpg"));
  EXPECT_FALSE(fs::exists(photos / "c.jpg"));
  EXPECT_EQ(form->FileList->topLevelItemCount(), 1);
}

TEST_F(FileListTest, ThePreviewCaptionShowsAnAmpersandAsItIs) {
  photos.write("Tom & Jerry.jpg", "x");
  list();
  select({"Tom & Jerry.jpg"});
  emit form->FileList->previewRequested();
  QString title = form->ImageGroupBox->title();
  EXPECT_TRUE(QKeySequence::mnemonic(title).isEmpty());
  EXPECT_EQ(title.replace("&&", "&"), "Tom & Jerry.jpg");
}

TEST_F(FileListTest, NumbersInNamesSortByValueUntilTheOptionIsTurnedOff) {
  for (const char* name : {"img10.jpg", "Img2.jpg", "été.jpg", "t.jpg"}) photos.write(name, name);
  list();
  const auto names = [&] {
    QStringList shown;
    for (int row = 0; row < form->FileList->topLevelItemCount(); ++row) shown << form->FileList->topLevelItem(row)->text(0);
    return shown.join(",");
  };
  EXPECT_EQ(names(), "été.jpg,Img2.jpg,img10.jpg,t.jpg");
  QTimer::singleShot(0, [&] {
    form->optionsForm().cbSortNumbersByValue->setChecked(false);
    form->optionsForm().btnOK->click();
  });
  form->Options1->trigger();
  EXPECT_EQ(names(), "été.jpg,img10.jpg,Img2.jpg,t.jpg");
}

TEST_F(FileListTest, DelAsksBeforeDeletingWhileConfirmFileDeleteIsOn) {
  test::TempFolder trash;
  ::setenv("XDG_DATA_HOME", trash.path().c_str(), 1);
  for (const char* name : {"a.jpg", "b.jpg"}) photos.write(name, name);
  list();
  select({"a.jpg"});
  prompter.expect("move \"a.jpg\" to the Trash", Answer::No);
  QTest::keyClick(form->FileList, Qt::Key_Delete);
  EXPECT_TRUE(fs::exists(photos / "a.jpg"));
  prompter.expect("move \"a.jpg\" to the Trash", Answer::Yes);
  form->FileListPopup->Delete1->trigger();
  EXPECT_FALSE(fs::exists(photos / "a.jpg"));
  form->options().confirmDelete = false;
  QTest::keyClick(form->FileList, Qt::Key_Delete);
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_FALSE(fs::exists(photos / "b.jpg"));
  EXPECT_EQ(form->FileList->topLevelItemCount(), 0);
}

TEST_F(FileListTest, ThumbnailViewDrawsFromTheCacheOnTheSecondListing) {
  imaging::TBitmap red(1600, 1200);
  red.Fill(255, 0, 0);
  const fs::path photo = photos / "red.jpg";
  imaging::SaveBitmapAsJpeg(photo, red, 90, false);
  form->options().cacheMinFileSize = 1;
  form->options().cacheFolder = folder / "cache";
  form->setViewStyle(ViewStyle::Thumbnails);
  list();
  waitForThumbnails();
  const fs::path entry = browser::CacheLocation(folder / "cache").cachePath(photo);
  ASSERT_TRUE(fs::exists(entry));
  ASSERT_FALSE(form->FileList->thumbnailOf(0).isNull());
  // The grid shows the drawn picture in the row's place.
  QListView* grid = form->FileList->iconView();
  const QImage shown = grid->viewport()->grab().toImage();
  const QRect cell = grid->visualRect(grid->model()->index(0, 0));
  int redPixels = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y) {
    for (int x = cell.left(); x <= cell.right(); ++x) {
      const QColor pixel = shown.pixelColor(x, y);
      redPixels += pixel.red() > 200 && pixel.green() < 60 && pixel.blue() < 60;
    }
  }
  EXPECT_GT(redPixels, 74 * 30);

  // The source no longer decodes, but keeps its time: only the cache can draw it red.
  const platform::SystemTime stamp = platform::lastWriteTime(photo);
  fs::resize_file(photo, 0);
  fs::resize_file(photo, 4096);
  platform::setLastWriteTime(photo, stamp);
  list();
  waitForThumbnails();
  const QImage drawn = form->FileList->thumbnailOf(0).pixmap(80, 80).toImage();
  const QColor middle = drawn.pixelColor(40, 40);
  EXPECT_GT(middle.red(), 200);
  EXPECT_LT(middle.green(), 60);
  EXPECT_EQ(form->statusPanels[0]->text(), "1 file(s)");
}

TEST_F(FileListTest, EscapeStopsTheLoadLeavingTheRestOnThePlaceholder) {
  constexpr int kPhotos = 24;
  listPhotosAsThumbnails(kPhotos);
  EXPECT_TRUE(form->progressBar()->isVisibleTo(form.get()));
  QTest::keyClick(form->FileList, Qt::Key_Escape);
  waitForThumbnails();
  EXPECT_TRUE(form->FileList->thumbnailOf(kPhotos - 1).isNull());
  EXPECT_EQ(form->statusPanels[0]->text(), QString::number(kPhotos) + " file(s)");
}

// The cache entries by path, each with its inode and modification time: an
// entry written again gets a new inode (written by rename) or a new time.
std::map<std::string, std::pair<ino_t, std::int64_t>> cacheEntries(const fs::path& root) {
  std::map<std::string, std::pair<ino_t, std::int64_t>> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat info {};
    if (!browser::isCachePicture(entry.path()) || ::stat(entry.path().c_str(), &info) != 0) continue;
    const std::int64_t modified = std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    entries[entry.path().string()] = {info.st_ino, modified};
  }
  return entries;
}

TEST_F(FileListTest, ThumbnailViewOfAFullFolderFillsAsItGoesStopsOnEscAndRedrawsFromTheCache) {
  constexpr int kPhotos = 500;
  const auto colourOf = [](int i) { return QColor((i * 37) % 256, (i * 91) % 256, 255 - (i * 53) % 256); };
  for (int i = 0; i < kPhotos; ++i) {
    // A plain middle in the photo's own colour, and a busy border so that the
    // file is above the cache's minimum size.
    imaging::TBitmap photo(320, 240);
    const QColor colour = colourOf(i);
    for (int y = 0; y < photo.Height(); ++y) {
      std::uint8_t* line = photo.ScanLine(y);
      for (int x = 0; x < photo.Width(); ++x) {
        const bool border = x < 40 || x >= 280 || y < 40 || y >= 200;
        line[3 * x + 0] = border ? std::uint8_t(x * 7 ^ y * 13) : std::uint8_t(colour.blue());
        line[3 * x + 1] = std::uint8_t(colour.green());
        line[3 * x + 2] = std::uint8_t(colour.red());
      }
    }
    imaging::SaveBitmapAsJpeg(photos / ("p" + std::to_string(1000 + i) + ".jpg"), photo, 90, false);
  }
  ASSERT_GE(fs::file_size(photos / "p1000.jpg"), 1024u);
  form->options().cacheMinFileSize = 1;
  form->options().cacheFolder = folder / "cache";
  form->setViewStyle(ViewStyle::Thumbnails);

  // First listing: rows are drawn while the load goes on; Esc stops it.
  list();
  ASSERT_TRUE(QTest::qWaitFor([&] { return drawnCount() > 0; }, 20000));
  EXPECT_TRUE(form->FileList->thumbnailsLoading());
  EXPECT_LT(drawnCount(), kPhotos);
  QTest::keyClick(form->FileList->iconView(), Qt::Key_Escape);
  waitForThumbnails();
  const int drawn = drawnCount();
  EXPECT_LT(drawn, kPhotos);
  for (int row = 0; row < kPhotos; ++row) EXPECT_EQ(form->FileList->thumbnailOf(row).isNull(), row >= drawn) << row;
  EXPECT_EQ(form->statusPanels[0]->text(), QString::number(kPhotos) + " file(s)");

  // Second listing runs to the end and fills the cache.
  list();
  waitForThumbnails();
  ASSERT_EQ(drawnCount(), kPhotos);
  const auto cached = cacheEntries(folder / "cache");
  ASSERT_EQ(cached.size(), std::size_t(kPhotos));

  // Third listing: the sources no longer decode but keep their times, so only
  // the cache can draw them, and no entry is written again.
  for (int i = 0; i < kPhotos; ++i) {
    const fs::path photo = photos / ("p" + std::to_string(1000 + i) + ".jpg");
    const platform::SystemTime stamp = platform::lastWriteTime(photo);
    const auto size = fs::file_size(photo);
    fs::resize_file(photo, 0);
    fs::resize_file(photo, size);
    platform::setLastWriteTime(photo, stamp);
  }
  list();
  waitForThumbnails();
  EXPECT_EQ(cacheEntries(folder / "cache"), cached);
  for (int row = 0; row < kPhotos; ++row) {
    const QImage shown = form->FileList->thumbnailOf(row).pixmap(80, 80).toImage();
    const QColor middle = shown.pixelColor(40, 40);
    const int i = std::stoi(form->FileList->topLevelItem(row)->text(0).toStdString().substr(1)) - 1000;
    const QColor expected = colourOf(i);
    EXPECT_NEAR(middle.red(), expected.red(), 24) << row;
    EXPECT_NEAR(middle.green(), expected.green(), 24) << row;
    EXPECT_NEAR(middle.blue(), expected.blue(), 24) << row;
  }
}

TEST_F(FileListTest, ThumbnailsKeptInMemoryStayBoundedAndRowsScrolledBackToAreDrawnAgain) {
  constexpr int kPhotos = 3000;
  constexpr int kKept = 2000;
  imaging::TBitmap tiny(8, 8);
  tiny.Fill(0, 0, 255);
  imaging::SaveBitmapAsJpeg(photos / "p1000.jpg", tiny);
  for (int i = 1; i < kPhotos; ++i) {
    fs::create_hard_link(photos / "p1000.jpg", photos / ("p" + std::to_string(1000 + i) + ".jpg"));
  }
  form->setViewStyle(ViewStyle::Thumbnails);
  list();
  waitForThumbnails();
  EXPECT_LE(drawnCount(), kKept);
  EXPECT_FALSE(form->FileList->thumbnailOf(0).isNull());  // on screen the whole time

  constexpr int kDropped = 500;
  ASSERT_TRUE(form->FileList->thumbnailOf(kDropped).isNull());
  form->FileList->iconView()->scrollTo(form->FileList->model()->index(kDropped, 0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form->FileList->thumbnailOf(kDropped).isNull(); }, 20000));
  EXPECT_LE(drawnCount(), kKept);
}

// How wide the picture in a row's thumbnail is: its pixels in the middle row.
int pictureWidth(const QIcon& thumbnail) {
  const QImage image = thumbnail.pixmap(80, 80).toImage();
  int width = 0;
  for (int x = 0; x < image.width(); ++x)
    width += image.pixelColor(x, 40).green() > 120 && image.pixelColor(x, 40).red() < 60;
  return width;
}

TEST_F(FileListTest, CtrlROnTaggedPhotosTurnsThemRedrawsTheirThumbnailsAndKeepsTheirTimes) {
  const platform::SystemTime stamp = std::chrono::system_clock::from_time_t(1'600'000'000);
  imaging::TBitmap wide(960, 320);  // above the cache's minimum of 1 KB
  wide.Fill(0, 160, 0);
  const std::vector<fs::path> files = paths({"a.jpg", "b.jpg", "c.jpg"});
  for (const fs::path& file : files) {
    imaging::SaveBitmapAsJpeg(file, wide);
    platform::setLastWriteTime(file, stamp);
  }
  form->options().cacheMinFileSize = 1;
  form->options().cacheFolder = folder / "cache";
  form->setViewStyle(ViewStyle::Thumbnails);
  list();
  waitForThumbnails();
  EXPECT_GT(pictureWidth(form->FileList->thumbnailOf(0)), 60);
  select({"a.jpg", "b.jpg", "c.jpg"});
  form->btnTagHighlighted->trigger();

  QApplication::setActiveWindow(form.get());
  form->FileList->activeView()->setFocus();
  QTest::keyClick(form->FileList->activeView(), Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(form->statusPanels[0]->text(), "3 file(s) processed");
  for (int row = 0; row < 3; ++row) {
    const fs::path& file = files[std::size_t(row)];
    const imaging::ImageHeader turned = imaging::ReadImageHeader(file);
    EXPECT_EQ(turned.width, 320);
    EXPECT_EQ(turned.height, 960);
    EXPECT_EQ(platform::lastWriteTime(file), stamp);
    EXPECT_LT(pictureWidth(form->FileList->thumbnailOf(row)), 40) << row;
    // The cache entry keeps the photo's time, so it had to be made anew.
    const imaging::ImageHeader cached =
        imaging::ReadImageHeader(browser::CacheLocation(folder / "cache").cachePath(file));
    EXPECT_LT(cached.width, cached.height);
  }
}

TEST_F(FileListTest, RotatedCopiesGetRowsOfTheirOwnAndAnExistingOneIsReplacedOnlyOnYes) {
  imaging::TBitmap wide(64, 32);
  imaging::SaveBitmapAsJpeg(photos / "a.jpg", wide);
  form->options().replaceJpegRot = false;
  list();
  select({"a.jpg"});
  QAction* right = form->JpegRotPopupMenu->actions()[1];
  right->trigger();
  ASSERT_EQ(rowOf("rot90_a.jpg"), 1);
  EXPECT_EQ(imaging::ReadImageHeader(photos / "a.jpg").width, 64);
  EXPECT_EQ(imaging::ReadImageHeader(photos / "rot90_a.jpg").width, 32);

  prompter.expect("rot90_a.jpg already exists.", Answer::No);
  select({"a.jpg"});
  right->trigger();
  EXPECT_EQ(form->FileList->topLevelItemCount(), 2);
  EXPECT_EQ(form->statusPanels[0]->text(), "0 file(s) processed");
}

TEST_F(FileListTest, QuickResizeNeedsASelectionAndOpensWithItsCount) {
  photos.write("a.jpg", "a");
  list();
  form->btnQuickResize->trigger();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "No files selected");
  select({"a.jpg"});
  QString counted;
  QTimer::singleShot(0, form.get(), [&] {
    auto* window = qobject_cast<imaging::TResizeForm*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    counted = window->StatusText->text();
    window->reject();
  });
  form->btnQuickResize->trigger();
  EXPECT_EQ(counted, "1 file(s) selected. Press OK to resize");
}

}  // namespace
}  // namespace vistrel::app
