#include "app/file_list.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QProgressBar>
#include <QTest>
#include <QUrl>

#include "app/drag_list_box.h"
#include "app/file_list_popup.h"
#include "app/main_form.h"
#include "browser/cache_location.h"
#include "imaging/jpeg_encoder.h"
#include "metadata/descriptions.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::app {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

class FileListTest : public ::testing::Test {
 protected:
  test::IsolatedUser user;
  test::TempFolder folder;
  test::TempFolder photos;
  platform::SettingsStore store{folder / "settings.reg"};
  test::ScriptedPrompter prompter;
  std::unique_ptr<TMainForm> form;

  void SetUp() override {
    form = std::make_unique<TMainForm>(store, prompter, folder.path());
    form->show();
    QCoreApplication::processEvents();
  }

  void list() {
    form->setCurrentFolder(photos.path().string());
    form->listFolder();
  }

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
  list();
  select({"a.jpg"});
  form->FileList->startRename();
  auto* editor = form->FileList->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText("harbour.jpg");
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // the editor commits its text from the event loop
  EXPECT_TRUE(fs::exists(photos / "harbour.jpg"));
  EXPECT_EQ(form->focusedFile(), photos / "harbour.jpg");
  EXPECT_EQ(metadata::DescriptionOf(photos / "harbour.jpg"), "Harbour");
}

TEST_F(FileListTest, FilewipeWipesTheTaggedFilesOnly) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) photos.write(name, name);
  list();
  form->FileList->topLevelItem(rowOf("a.jpg"))->setCheckState(0, Qt::Checked);
  form->FileList->topLevelItem(rowOf("c.jpg"))->setCheckState(0, Qt::Checked);
  select({"b.jpg"});
  prompter.expect("Are you sure you want to wipe the tagged file(s)?", Answer::Yes);
  form->FileListPopup->Filewipe1->trigger();
  EXPECT_FALSE(fs::exists(photos / "a.jpg"));
  EXPECT_TRUE(fs::exists(photos / "b.jpg"));
  EXPECT_FALSE(fs::exists(photos / "c.jpg"));
  EXPECT_EQ(form->FileList->topLevelItemCount(), 1);
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
  imaging::TBitmap blue(1200, 900);
  blue.Fill(0, 0, 255);
  constexpr int kPhotos = 24;
  for (int i = 0; i < kPhotos; ++i) imaging::SaveBitmapAsJpeg(photos / ("p" + std::to_string(100 + i) + ".jpg"), blue);
  form->options().cacheMinFileSize = 1;
  form->setViewStyle(ViewStyle::Thumbnails);
  list();
  EXPECT_TRUE(form->progressBar()->isVisibleTo(form.get()));
  QTest::keyClick(form->FileList, Qt::Key_Escape);
  waitForThumbnails();
  EXPECT_TRUE(form->FileList->thumbnailOf(kPhotos - 1).isNull());
  EXPECT_EQ(form->statusPanels[0]->text(), QString::number(kPhotos) + " file(s)");
}

}  // namespace
}  // namespace vistrel::app
