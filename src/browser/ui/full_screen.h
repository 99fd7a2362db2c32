#pragma once

#include <QWidget>

#include "options/program_options.h"

class QLabel;
class QTimer;

namespace vistrel::imaging {
class TImagNV;
}

namespace vistrel::browser::ui {

// The borderless full-screen window that shows the previewed photo on black,
// with the file's path and info above it and its description below, and
// steps through photos by key and wheel. It only asks: the window that opened
// it decides which photo comes next, what a delete or a turn does, and runs
// the slideshow on `Timer`. Deletes itself when closed.
class TFullScreen : public QWidget {
  Q_OBJECT

 public:
  explicit TFullScreen(options::FullScreenSize sizeMode, QWidget* parent = nullptr);
  ~TFullScreen() override;

  // The labels: the path (shortened to fit), the size and date line, and the description.
  void setTexts(const QString& path, const QString& info, const QString& description);
  // The scale to load the next photo at, before its size is known.
  void prepareFit();
  // The scale for the photo on screen, now that its size is known.
  void fit();
  // Hides the mouse cursor until the window closes.
  void hideCursor();

  imaging::TImagNV* ImageNV2;
  QWidget *TopPanel, *BottomPanel;
  QLabel *DirLabel, *InfoLabel, *DescLabel;
  QTimer* Timer;

 signals:
  // -1 the previous photo, +1 the next.
  void stepRequested(int step);
  void deleteRequested();
  void rotateRequested(bool clockwise);
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void zoomBy(int percent);
  void elidePath();

  options::FullScreenSize sizeMode_;
  QString path_;
  bool cursorHidden_ = false;
  int wheelTurned_ = 0;  // eighths of a degree not yet stepped
};

}  // namespace vistrel::browser::ui
