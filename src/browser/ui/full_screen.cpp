#include "browser/ui/full_screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "browser/view_geometry.h"
#include "imaging/ui/imag_nv.h"

namespace vistrel::browser::ui {
namespace {

constexpr int kWheelNotch = 120;

QWidget* blackPanel(int border) {
  auto* panel = new QWidget;
  panel->setAutoFillBackground(true);
  QPalette colours = panel->palette();
  colours.setColor(QPalette::Window, Qt::black);
  colours.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0));  // silver
  panel->setPalette(colours);
  panel->setContentsMargins(border, border, border, border);
  return panel;
}

}  // namespace

TFullScreen::TFullScreen(options::FullScreenSize sizeMode, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), sizeMode_(sizeMode) {
  setWindowTitle("FullScreen");
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::StrongFocus);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);

  ImageNV2 = new imaging::TImagNV;
  ImageNV2->setColor(Qt::black);
  ImageNV2->setAttributes(ImageNV2->attributes() & ~imaging::view_flags::sVIEW_SCROLLBARS);
  ImageNV2->setFocusPolicy(Qt::NoFocus);  // the window takes every key
  ImageNV2->viewport()->installEventFilter(this);
  connect(ImageNV2, &imaging::TImagNV::doubleClicked, this, &QWidget::close);

  TopPanel = blackPanel(0);
  DirLabel = new QLabel;
  InfoLabel = new QLabel;
  auto* top = new QHBoxLayout(TopPanel);
  top->addWidget(DirLabel, 1);
  top->addWidget(InfoLabel);
  BottomPanel = blackPanel(5);
  DescLabel = new QLabel;
  DescLabel->setAlignment(Qt::AlignCenter);
  DescLabel->setWordWrap(true);
  auto* bottom = new QVBoxLayout(BottomPanel);
  bottom->setContentsMargins(0, 0, 0, 0);
  bottom->addWidget(DescLabel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(TopPanel);
  layout->addWidget(ImageNV2, 1);
  layout->addWidget(BottomPanel);
  Timer = new QTimer(this);
}

TFullScreen::~TFullScreen() {
  if (cursorHidden_) QApplication::restoreOverrideCursor();
}

void TFullScreen::setTexts(const QString& path, const QString& info, const QString& description) {
  path_ = path;
  elidePath();
  InfoLabel->setText(info);
  DescLabel->setText(description);
}

void TFullScreen::elidePath() {
  DirLabel->setText(DirLabel->fontMetrics().elidedText(path_, Qt::ElideMiddle, std::max(DirLabel->width(), 40)));
}

void TFullScreen::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  elidePath();
}

void TFullScreen::prepareFit() {
  using options::FullScreenSize;
  if (sizeMode_ == FullScreenSize::ShrinkToFit) ImageNV2->setScale(imaging::kShrinkToFit);
  if (sizeMode_ == FullScreenSize::FullSize) ImageNV2->setScale(100);
  // "Stretch to fit" lets small photos grow to the screen and keeps what the
  // keys made of the scale.
  if (sizeMode_ == FullScreenSize::StretchToFit && ImageNV2->scale() == imaging::kShrinkToFit) {
    ImageNV2->setScale(imaging::kGrowToFit);
  }
}

void TFullScreen::fit() {
  const QSize room = ImageNV2->maximumViewportSize();
  ImageNV2->setScale(FullScreenScale(sizeMode_, ImageNV2->scale(), {ImageNV2->sizeX(), ImageNV2->sizeY()},
                                     {room.width(), room.height()}));
}

void TFullScreen::hideCursor() {
  if (cursorHidden_) return;
  QApplication::setOverrideCursor(Qt::BlankCursor);
  cursorHidden_ = true;
}

// Keypad + and − change the scale by ten per cent from what it is, the
// fit modes counting as 0.
void TFullScreen::zoomBy(int percent) {
  const int scale = std::max(ImageNV2->scale(), 0) + percent;
  if (scale > 0) ImageNV2->setScale(scale);
}

void TFullScreen::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool control = event->modifiers() & Qt::ControlModifier;
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
    close();
  } else if (control && key == Qt::Key_Delete) {
    emit deleteRequested();
  } else if (control && (key == Qt::Key_R || key == Qt::Key_L)) {
    emit rotateRequested(key == Qt::Key_R);
  } else if (key == Qt::Key_Up || key == Qt::Key_PageUp) {
    emit stepRequested(-1);
  } else if (key == Qt::Key_Down || key == Qt::Key_PageDown) {
    emit stepRequested(1);
  } else if (keypad && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
    zoomBy(key == Qt::Key_Plus ? 10 : -10);
  } else if (keypad && (key == Qt::Key_5 || key == Qt::Key_Clear)) {  // Clear: keypad 5 with Num Lock off
    ImageNV2->setScale(100);
  } else {
    return QWidget::keyPressEvent(event);
  }
  event->accept();
}

// The wheel steps through the photos, a notch at a time; with Ctrl the
// viewer zooms instead.
bool TFullScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) {
      wheelTurned_ += wheel->angleDelta().y();
      while (std::abs(wheelTurned_) >= kWheelNotch) {
        const int step = wheelTurned_ > 0 ? -1 : 1;
        wheelTurned_ += step * kWheelNotch;
        emit stepRequested(step);
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TFullScreen::closeEvent(QCloseEvent* event) {
  Timer->stop();
  if (cursorHidden_) QApplication::restoreOverrideCursor();
  cursorHidden_ = false;
  emit closed();
  ImageNV2->setFilename({});
  QWidget::closeEvent(event);
}

}  // namespace vistrel::browser::ui
