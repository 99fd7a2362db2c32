#include <QApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "app/main_form.h"
#include "browser/picture_texts.h"
#include "browser/ui/drag_list_box.h"
#include "browser/ui/file_list_popup.h"
#include "browser/ui/full_screen.h"
#include "browser/ui/histogram_form.h"
#include "browser/ui/print_image.h"
#include "browser/view_geometry.h"
#include "browser/wallpaper.h"
#include "imaging/lossless_transform.h"
#include "imaging/ui/imag_nv.h"
#include "metadata/info_panel.h"
#include "metadata/ui/info_form.h"
#include "platform/commands.h"
#include "platform/error.h"
#include "platform/text.h"
#include "platform/ui/captions.h"
#include "platform/version.h"
#include "tools/targets/target_operation.h"

// The main window's side of showing one photo: the preview and the info
// panel, the full-screen window and the slideshow that step through the file
// list or the drag list, printing, the desktop background and the histogram.

namespace vistrel::app {
namespace fs = std::filesystem;
using browser::WallpaperStyle;
using browser::ui::TFullScreen;
using imaging::TImagNV;

namespace {

constexpr const char* kNoFileText = "You must select a file in the file list.";
constexpr const char* kNoFileCaption = "No file selected";
// Printer pixels per inch: the page layout's margins and lines are counted in them.
constexpr int kPrintResolution = 300;

QString pathText(const fs::path& path) { return QString::fromStdString(path.string()); }
QString lines(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace

void TMainForm::createViewerCommands() {
  pictureCache_ = new imaging::PictureCache(this);
  ImageNV->setCache(pictureCache_);
  ImageNV->setUpright(options_.autoOrient);
  HistogramForm = new browser::ui::THistogramForm(this);
  connect(ImageNV, &TImagNV::pictureChanged, this, [this] { showPictureInfo(ImageNV); });
  connect(ImageNV, &TImagNV::doubleClicked, Fullscreen1, &QAction::trigger);
  connect(Fullscreen1, &QAction::triggered, this, &TMainForm::Fullscreen1Click);
  connect(Slideshow1, &QAction::triggered, this, &TMainForm::Slideshow1Click);
  connect(Printimage1, &QAction::triggered, this, &TMainForm::Printimage1Click);
  connect(btnWallpaper, &QToolButton::clicked, this, [this] { wallpaperClick(WallpaperStyle::Fitted); });
  connect(Centered1, &QAction::triggered, this, [this] { wallpaperClick(WallpaperStyle::Centered); });
  connect(Tiled1, &QAction::triggered, this, [this] { wallpaperClick(WallpaperStyle::Tiled); });
  connect(Stretched1, &QAction::triggered, this, [this] { wallpaperClick(WallpaperStyle::Stretched); });
  connect(FileListPopup->Histogram1, &QAction::triggered, this, &TMainForm::Histogram1Click);
  connect(InfoForm, &metadata::ui::TInfoForm::editIptcRequested, FileListPopup->EditIPTCinfo1, &QAction::trigger);
  connect(FileListPopup->EXIFinformation1, &QAction::triggered, this, [this] {
    InfoForm->setActiveTab("EXIF");
    previewSelectedFile();
  });
}

bool TMainForm::steppingDragList() const {
  return PageControl->currentWidget() == TabSheet2 && DragListBox->count() > 1;
}

fs::path TMainForm::previewedFile() const {
  if (PageControl->currentWidget() == TabSheet2 && dragListBrowsed_) return DragListBox->currentFile();
  return FileList->focusedFile();
}

TFullScreen* TMainForm::fullScreen() const { return FullScreen; }

TImagNV* TMainForm::shownViewer() const { return FullScreen ? FullScreen->ImageNV2 : ImageNV; }

void TMainForm::previewSelectedFile() {
  ImageNV->setAlignV(imaging::TIM_AlignV::IM_ALIGNV_CENTER);
  const fs::path file = previewedFile();
  if (file.empty()) return;
  const QString path = pathText(file);
  metadata::InfoPanelTexts texts;
  try {
    texts = metadata::InfoPanelTextsOf(file, options_.rawExif);
  } catch (const Error&) {
    // A description file that cannot be read leaves the texts empty.
  }
  InfoForm->showTexts(texts);
  IptcMemo->setPlainText(lines(texts.iptc + (texts.iptc.empty() || texts.overview.empty() ? "" : "\r\n\r\n") +
                               texts.overview));
  ImageGroupBox->setTitle(platform::ui::nameCaption(QString::fromStdString(platform::displayName(file.filename()))));
  const QString shownPath = QString::fromStdString(platform::displayName(file));
  setWindowTitle(QString::fromStdString(platform::programTitle()) + " - " + shownPath);
  if (FullScreen) {
    // The preview behind the full-screen window catches up when it closes.
    FullScreen->prepareFit();
    FullScreen->ImageNV2->setFilename(path);
    FullScreen->setTexts(shownPath, QString::fromStdString(browser::FullScreenInfoText(file)),
                         lines(texts.description.empty() ? texts.iptc : texts.description));
  } else {
    ImageNV->setScale(imaging::kShrinkToFit);
    ImageNV->setFilename(path);
  }
  prefetchNeighbours();
}

// Width and height, the scale and the histogram follow the picture once it is
// on screen (at once when it was fetched ahead).
void TMainForm::showPictureInfo(TImagNV* viewer) {
  if (viewer != shownViewer()) return;
  statusPanels[1]->setText("Width: " + QString::number(viewer->sizeX()));
  statusPanels[2]->setText("Height: " + QString::number(viewer->sizeY()));
  if (FullScreen) {
    FullScreen->fit();
  } else {
    const QSize room = ImageNV->maximumViewportSize();
    ImageNV->setScale(browser::ShrinkToFitScale({ImageNV->sizeX(), ImageNV->sizeY()}, {room.width(), room.height()}));
  }
  if (HistogramForm->isVisible()) HistogramForm->refresh(viewer->picture());
}

// The photos a step or a slideshow tick shows next are decoded meanwhile.
void TMainForm::prefetchNeighbours() {
  const bool slideshow = FullScreen && FullScreen->Timer->isActive();
  const bool dragList = steppingDragList();
  const int count = dragList ? DragListBox->count() : FileList->topLevelItemCount();
  const int row = dragList ? DragListBox->currentRow() : FileList->selectedRow();
  const auto pathAt = [&](int at) {
    return dragList ? DragListBox->item(at)->text() : pathText(browser::ui::TFileList::pathOf(FileList->topLevelItem(at)));
  };
  QStringList files;
  if (row >= 0 && count > 1) {
    const int next = slideshow ? (row + 1) % count : row + 1;
    if (next < count) files << pathAt(next);
    if (!slideshow && row > 0) files << pathAt(row - 1);
  }
  shownViewer()->prefetch(files);
}

void TMainForm::Fullscreen1Click() {
  if (needsSelection(kNoFileText, kNoFileCaption, platform::Icon::Error)) startFullScreen(false);
}

void TMainForm::startFullScreen(bool slideshow) {
  if (FullScreen) return;
  FullScreen = new TFullScreen(options_.fullScrSize, this);
  TImagNV* viewer = FullScreen->ImageNV2;
  viewer->setCache(pictureCache_);
  viewer->setUpright(options_.autoOrient);
  FullScreen->TopPanel->setVisible(options_.fullScreenInfo && !(slideshow && options_.hideSlideShowInfo));
  FullScreen->BottomPanel->setVisible(options_.fullScreenDesc);
  connect(viewer, &TImagNV::pictureChanged, this, [this, viewer] { showPictureInfo(viewer); });
  connect(FullScreen, &TFullScreen::stepRequested, this, &TMainForm::stepPicture);
  connect(FullScreen, &TFullScreen::deleteRequested, this, &TMainForm::deleteFromFullScreen);
  connect(FullScreen, &TFullScreen::rotateRequested, this, &TMainForm::rotateFromFullScreen);
  connect(FullScreen, &TFullScreen::closed, this, &TMainForm::fullScreenClosed);
  connect(FullScreen->Timer, &QTimer::timeout, this, &TMainForm::slideshowTick);
  ImageNV->prefetch({});
  FullScreen->setGeometry(screen()->geometry());
  FullScreen->showFullScreen();
  FullScreen->activateWindow();
  FullScreen->setFocus();
  previewSelectedFile();
}

void TMainForm::stepPicture(int step) {
  if (steppingDragList()) {
    const int row = DragListBox->currentRow();
    const int target = std::clamp(row + step, 0, DragListBox->count() - 1);
    if (target == row) return;
    DragListBox->setCurrentRow(target);
    dragListBrowsed_ = true;
  } else {
    const int row = FileList->selectedRow();
    if (row < 0 || row + step < 0 || row + step >= FileList->topLevelItemCount()) return;
    FileList->selectRow(row + step);
    dragListBrowsed_ = false;
  }
  previewSelectedFile();
}

void TMainForm::Slideshow1Click() {
  const bool dragTab = PageControl->currentWidget() == TabSheet2;
  if (dragTab && DragListBox->count() > 1) {
    if (DragListBox->currentRow() < 0) DragListBox->setCurrentRow(0);
    DragListBox->setFocus();
    dragListBrowsed_ = true;
  } else if (dragTab && DragListBox->count() == 0) {
    prompter_.inform("No images are listed in the Drag and Drop file list.\r\n\r\nSelect the Explorer tab if you want "
                     "to view images\r\nlisted in the main file list. ",
                     "Nothing to do ..");
    return;
  } else {
    dragListBrowsed_ = false;
    if (FileList->selectedRow() < 0) FileList->selectRow(0);
  }
  startFullScreen(true);
  if (options_.hideCursor) FullScreen->hideCursor();
  FullScreen->Timer->setInterval(options_.slideshowDelay * 1000);
  FullScreen->Timer->start();
  prefetchNeighbours();  // now that the slideshow runs, the next photo may be the first
}

void TMainForm::slideshowTick() {
  try {
    if (steppingDragList()) {
      DragListBox->setCurrentRow((DragListBox->currentRow() + 1) % DragListBox->count());
      dragListBrowsed_ = true;
    } else {
      const int row = FileList->selectedRow();
      if (row < 0) return;
      FileList->selectRow((row + 1) % FileList->topLevelItemCount());
      dragListBrowsed_ = false;
    }
    previewSelectedFile();
  } catch (const Error&) {
    // A photo that cannot be shown ends this tick only.
  }
}

void TMainForm::deleteFromFullScreen() {
  const int row = FileList->selectedRow();
  runFileOperation(targets::TargetOperation::DeleteSilent);
  FileList->selectRowAt(row);
  if (FileList->topLevelItemCount() == 0 && FullScreen) FullScreen->ImageNV2->setFilename({});
}

void TMainForm::rotateFromFullScreen(bool clockwise) {
  rotateSelected(clockwise ? imaging::JpegTransform::Rotate90 : imaging::JpegTransform::Rotate270);
}

void TMainForm::fullScreenClosed() {
  const QString shown = FullScreen ? FullScreen->ImageNV2->filename() : QString();
  FullScreen = nullptr;
  const int row = FileList->selectedRow();
  if (row >= 0) FileList->showRow(FileList->topLevelItem(row));
  if (!shown.isEmpty() && ImageNV->filename() != shown) {
    ImageNV->setScale(imaging::kShrinkToFit);
    ImageNV->setFilename(shown);
  }
  activateWindow();
}

void TMainForm::Printimage1Click() {
  const QString file = shownViewer()->filename();
  if (file.isEmpty()) return prompter_.error(kNoFileText, kNoFileCaption);
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(kPrintResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    const imaging::ViewPicture picture = imaging::decodeForView({file, 0, options_.autoOrient, {}});
    browser::ui::PrintPicture(printer, file, picture.pixels, QDateTime::currentDateTime());
  } catch (const Error& error) {
    QApplication::restoreOverrideCursor();
    return prompter_.error(error.what(), "Error");
  }
  QApplication::restoreOverrideCursor();
}

void TMainForm::wallpaperClick(WallpaperStyle style) {
  const QString file = shownViewer()->filename();
  if (file.isEmpty()) return prompter_.error(kNoFileText, kNoFileCaption);
  const QSize screenSize = screen()->size() * screen()->devicePixelRatio();
  const fs::path picture = browser::WallpaperFile(programData_);
  const std::string desktop =
      qEnvironmentVariable("XDG_CURRENT_DESKTOP", qEnvironmentVariable("DESKTOP_SESSION")).toStdString();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    browser::SaveWallpaperPicture(file.toStdString(), style, {screenSize.width(), screenSize.height()},
                                  options_.autoOrient, picture);
    browser::SetDesktopBackground(picture, style, desktop, platform::systemCommands());
  } catch (const Error& error) {
    QApplication::restoreOverrideCursor();
    return prompter_.error(error.what(), "Error");
  }
  QApplication::restoreOverrideCursor();
}

void TMainForm::Histogram1Click() {
  HistogramForm->refresh(shownViewer()->picture());
  HistogramForm->show();
  HistogramForm->raise();
}

}  // namespace vistrel::app
