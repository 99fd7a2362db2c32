#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/main_form.h"
#include "main_form_fixture.h"
#include "browser/ui/drag_list_box.h"
#include "browser/ui/file_list_popup.h"
#include "browser/ui/full_screen.h"
#include "browser/ui/histogram_form.h"
#include "imaging/ui/imag_nv.h"
#include "metadata/descriptions.h"
#include "metadata/ui/info_form.h"

namespace vistrel::app {
namespace {

namespace fs = std::filesystem;
using browser::ui::TFullScreen;

class ViewerTest : public MainFormFixture {
 protected:
  void listPhotos(std::initializer_list<const char*> names, QSize size = QSize(64, 48)) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (const char* name : names) ASSERT_TRUE(picture.save(path(name), "JPEG"));
    list();
  }

  QString path(const char* name) const { return QString::fromStdString((photos / name).string()); }
  int selectedRow() const { return form->FileList->selectedRow(); }

  void selectRow(int row) {
    form->FileList->selectRow(row);
    form->previewSelectedFile();
  }

  TFullScreen* enterFullScreen() {
    QTest::keyClick(form->FileList, Qt::Key_Return);
    return form->fullScreen();
  }

  static void waitForPicture(imaging::TImagNV* viewer) {
    QTRY_VERIFY_WITH_TIMEOUT(viewer->isValid() && !viewer->isLoading(), 10000);
  }
};

TEST_F(ViewerTest, PreviewFillsTheCaptionsTheStatusBarAndTheInfoPanel) {
  listPhotos({"a.jpg", "b.jpg"});
  metadata::SetDescription(photos / "b.jpg", "Harbour at dawn");
  selectRow(1);
  EXPECT_EQ(form->windowTitle(), "Vistrel 3.12 - " + path("b.jpg"));
  EXPECT_EQ(form->ImageGroupBox->title(), "b.jpg");
  EXPECT_EQ(form->InfoForm->DescMemo->toPlainText(), "Harbour at dawn");
  EXPECT_EQ(form->InfoForm->ExifMemo->toPlainText(), "No EXIF info found");
  waitForPicture(form->ImageNV);
  EXPECT_EQ(form->statusPanels[1]->text(), "Width: 64");
  EXPECT_EQ(form->statusPanels[2]->text(), "Height: 48");
  EXPECT_EQ(form->ImageNV->scale(), 100);  // smaller than the preview: not blown up
  EXPECT_EQ(form->ImageNV->filename(), path("b.jpg"));
}

TEST_F(ViewerTest, EnterOpensFullScreenAndTheKeysStepThroughTheFileList) {
  listPhotos({"a.jpg", "b.jpg", "c.jpg"});
  selectRow(0);
  TFullScreen* full = enterFullScreen();
  ASSERT_NE(full, nullptr);
  EXPECT_TRUE(full->isVisible());
  EXPECT_TRUE(full->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(full->ImageNV2->filename(), path("a.jpg"));
  EXPECT_FALSE(full->TopPanel->isVisibleTo(full));  // file info is off by default

  QTest::keyClick(full, Qt::Key_Up);  // on the first row: nothing
  EXPECT_EQ(selectedRow(), 0);
  QTest::keyClick(full, Qt::Key_Down);
  QTest::keyClick(full, Qt::Key_PageDown);
  EXPECT_EQ(selectedRow(), 2);
  EXPECT_EQ(full->ImageNV2->filename(), path("c.jpg"));
  QTest::keyClick(full, Qt::Key_Down);  // on the last row: nothing
  EXPECT_EQ(selectedRow(), 2);
  QTest::keyClick(full, Qt::Key_PageUp);
  EXPECT_EQ(selectedRow(), 1);
  EXPECT_EQ(form->FileList->selectedFiles(), std::vector<fs::path>{photos / "b.jpg"});

  QTest::keyClick(full, Qt::Key_Escape);
  EXPECT_EQ(form->fullScreen(), nullptr);
  EXPECT_EQ(selectedRow(), 1);
  EXPECT_EQ(form->ImageNV->filename(), path("b.jpg"));  // the preview caught up
}

TEST_F(ViewerTest, FullScreenShowsTheFileInfoAndStepsOverTheDragList) {
  listPhotos({"a.jpg", "b.jpg", "c.jpg"});
  form->options().fullScreenInfo = form->options().fullScreenDesc = true;
  metadata::SetDescription(photos / "b.jpg", "Second");
  form->PageControl->setCurrentWidget(form->TabSheet2);
  form->DragListBox->addFiles({photos / "c.jpg", photos / "b.jpg", photos / "a.jpg"});
  form->DragListBox->setCurrentRow(0);
  QTest::keyClick(form->DragListBox, Qt::Key_Return);
  TFullScreen* full = form->fullScreen();
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full->ImageNV2->filename(), path("c.jpg"));
  QTest::keyClick(full, Qt::Key_Down);
  EXPECT_EQ(form->DragListBox->currentRow(), 1);
  EXPECT_EQ(full->ImageNV2->filename(), path("b.jpg"));
  EXPECT_TRUE(full->InfoLabel->text().startsWith("File size: 0 KB    File date: "));
  EXPECT_EQ(full->DescLabel->text(), "Second");
  QTest::keyClick(full, Qt::Key_Down);
  QTest::keyClick(full, Qt::Key_Down);  // past the last entry: nothing
  EXPECT_EQ(form->DragListBox->currentRow(), 2);
  EXPECT_EQ(full->ImageNV2->filename(), path("a.jpg"));
  full->close();
}

TEST_F(ViewerTest, CtrlRAndCtrlLTurnTheShownPhotoInFullScreen) {
  listPhotos({"a.jpg"});
  selectRow(0);
  TFullScreen* full = enterFullScreen();
  ASSERT_NE(full, nullptr);
  waitForPicture(full->ImageNV2);
  QTest::keyClick(full, Qt::Key_R, Qt::ControlModifier);
  waitForPicture(full->ImageNV2);
  EXPECT_EQ(full->ImageNV2->picture().size(), QSize(48, 64));
  QTest::keyClick(full, Qt::Key_L, Qt::ControlModifier);
  waitForPicture(full->ImageNV2);
  EXPECT_EQ(full->ImageNV2->picture().size(), QSize(64, 48));
  EXPECT_EQ(form->statusPanels[0]->text(), "1 file(s) processed");
  full->close();
}

TEST_F(ViewerTest, TheSlideshowWrapsAndRunsOverTheFileListUnlessTheDragListHasMore) {
  listPhotos({"a.jpg", "b.jpg", "c.jpg"});
  form->options().slideshowDelay = 7;
  form->FileList->selectRow(2);
  form->Slideshow1->trigger();
  TFullScreen* full = form->fullScreen();
  ASSERT_NE(full, nullptr);
  EXPECT_TRUE(full->Timer->isActive());
  EXPECT_EQ(full->Timer->interval(), 7000);
  form->slideshowTick();
  EXPECT_EQ(selectedRow(), 0);
  EXPECT_EQ(full->ImageNV2->filename(), path("a.jpg"));
  form->slideshowTick();
  EXPECT_EQ(selectedRow(), 1);
  full->close();
  EXPECT_EQ(form->fullScreen(), nullptr);

  // One entry in the drag list: the slideshow takes the file list.
  form->PageControl->setCurrentWidget(form->TabSheet2);
  form->DragListBox->addFiles({photos / "c.jpg"});
  form->Slideshow1->trigger();
  ASSERT_NE(form->fullScreen(), nullptr);
  form->slideshowTick();
  EXPECT_EQ(selectedRow(), 2);
  EXPECT_EQ(form->fullScreen()->ImageNV2->filename(), path("c.jpg"));
  form->fullScreen()->close();

  // More than one: the drag list, from its first entry, round and round.
  form->DragListBox->addFiles({photos / "a.jpg"});
  form->DragListBox->setCurrentRow(-1);
  form->Slideshow1->trigger();
  ASSERT_NE(form->fullScreen(), nullptr);
  EXPECT_EQ(form->fullScreen()->ImageNV2->filename(), path("c.jpg"));
  form->slideshowTick();
  form->slideshowTick();
  EXPECT_EQ(form->DragListBox->currentRow(), 0);
  form->fullScreen()->close();

  form->DragListBox->clear();
  form->Slideshow1->trigger();
  EXPECT_EQ(form->fullScreen(), nullptr);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "Nothing to do ..");
}

TEST_F(ViewerTest, KeypadKeysScaleAndFullScreenFitsEachPhoto) {
  listPhotos({"big.jpg"}, QSize(2400, 1800));
  listPhotos({"small.jpg"});
  selectRow(0);
  TFullScreen* full = enterFullScreen();
  ASSERT_NE(full, nullptr);
  waitForPicture(full->ImageNV2);
  EXPECT_EQ(full->ImageNV2->scale(), imaging::kShrinkToFit);
  QTest::keyClick(full, Qt::Key_Plus, Qt::KeypadModifier);
  QTest::keyClick(full, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(full->ImageNV2->scale(), 20);
  QTest::keyClick(full, Qt::Key_5, Qt::KeypadModifier);
  EXPECT_EQ(full->ImageNV2->scale(), 100);
  QTest::keyClick(full, Qt::Key_Down);
  waitForPicture(full->ImageNV2);
  EXPECT_EQ(full->ImageNV2->scale(), 100);  // a photo smaller than the screen shows at full size

  form->FileListPopup->Histogram1->trigger();
  EXPECT_TRUE(form->HistogramForm->isVisible());
  QTest::keyClick(full, Qt::Key_Up);
  waitForPicture(full->ImageNV2);
  EXPECT_EQ(form->statusPanels[1]->text(), "Width: 2400");
  full->close();
}

}  // namespace
}  // namespace vistrel::app
