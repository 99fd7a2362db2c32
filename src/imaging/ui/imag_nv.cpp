#include "imaging/ui/imag_nv.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QTimer>
#include <QTransform>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace vistrel::imaging {
namespace {

constexpr int kMinPercent = 1;
constexpr int kMaxPercent = 3200;
// Each notch of the wheel with Ctrl held zooms by this much.
constexpr double kWheelZoom = 1.25;

// Where a picture `length` long starts in a view `room` long: by the
// alignment when it fits, else where the scroll bar has moved it.
int placeAlong(int length, int room, bool toStart, bool toEnd, int scrolled) {
  if (length > room) return -scrolled;
  if (toStart) return 0;
  if (toEnd) return room - length;
  return (room - length) / 2;
}

}  // namespace

TImagNV::TImagNV(QWidget* parent) : QAbstractScrollArea(parent) {
  resize(160, 120);
  setFrameShape(QFrame::NoFrame);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setAttributes(view_flags::kDefault);
}

TImagNV::~TImagNV() { setCache(nullptr); }

void TImagNV::setCache(PictureCache* cache) {
  if (cache_) {
    cache_->cancel(this);
    cache_->prefetch({}, this);
    if (cache_->parent() == this) delete cache_;
  }
  cache_ = cache;
}

PictureCache& TImagNV::pictures() {
  if (!cache_) cache_ = new PictureCache(this);
  return *cache_;
}

void TImagNV::setUpright(bool upright) {
  if (upright_ == upright) return;
  upright_ = upright;
  if (!filename_.isEmpty()) setFilename(filename_);
}

ViewGeometry TImagNV::geometry() const {
  QSize room = orientedViewport();
  if (turnsSideways()) room.transpose();
  return {room, scale_};
}

void TImagNV::setFilename(const QString& file) {
  filename_ = file;
  source_ = {};
  pictures().cancel(this);
  if (file.isEmpty()) {
    loading_ = false;
    announced_ = true;
    showPicture({});
    emit pictureChanged();
    return;
  }
  source_ = PictureSource::of(file, page_, upright_);
  announced_ = false;
  const auto found = pictures().find(source_, geometry());
  loading_ = !found || !found->exact;
  showPicture(found ? found->picture : ViewPicture{});
  if (found) {
    announced_ = true;
    emit pictureChanged();
  }
  if (loading_) requestPicture();
}

// The files are decoded once the picture on screen has been painted, so that
// the decoding does not hold up the paint for the processor.
void TImagNV::prefetch(const QStringList& files) {
  prefetchFiles_ = files;
  if (!isVisible()) return startPrefetch();
  prefetchAfterPaint_ = true;
  viewport()->update();
}

// A zoomed view fetches the photos ahead fitted to the view: a full-size
// picture would be too big to keep, and the fitted one stands in at once
// while the full one is decoded.
void TImagNV::startPrefetch() {
  prefetchAfterPaint_ = false;
  ViewGeometry ahead = geometry();
  if (ahead.scale > 0) ahead.scale = kShrinkToFit;
  std::vector<std::pair<PictureSource, ViewGeometry>> wanted;
  for (const QString& file : std::as_const(prefetchFiles_)) {
    wanted.emplace_back(PictureSource::of(file, 0, upright_), ahead);
  }
  pictures().prefetch(wanted, this);
}

void TImagNV::setPageNo(int page) {
  page_ = std::max(page, 0);
  if (!filename_.isEmpty()) setFilename(filename_);
}

void TImagNV::setPicture(const QImage& picture) {
  filename_.clear();
  source_ = {};
  pictures().cancel(this);
  loading_ = false;
  announced_ = true;
  showPicture({picture.convertToFormat(QImage::Format_RGB32), picture.size(),
               picture.depth() >= 24 ? 24 : picture.depth(), 0});
  emit pictureChanged();
}

int TImagNV::colors() const {
  if (!isValid()) return 0;
  if (picture_.colours > 0) return picture_.colours;
  return 1 << std::min(picture_.bitsPerPixel, 24);
}

void TImagNV::showPicture(ViewPicture picture) {
  picture_ = std::move(picture);
  rebuildOriented();
  relayout();
}

void TImagNV::requestPicture() {
  loading_ = true;
  pictures().request(source_, geometry(), this, [this](const ViewPicture& picture) { pictureArrived(picture); });
}

void TImagNV::pictureArrived(const ViewPicture& picture) {
  loading_ = false;
  // A sharper picture that could not be made leaves the one on screen.
  if (!picture.pixels.isNull() || !announced_) showPicture(picture);
  if (!announced_) {
    announced_ = true;
    emit pictureChanged();
  }
}

// After a zoom or a resize the view may need more (or fewer) pixels than the
// picture on screen has: the cache makes them while the old ones stay shown.
void TImagNV::fetchSharperIfNeeded() {
  if (filename_.isEmpty() || loading_ || picture_.pixels.isNull()) return;
  if (picture_.pixels.size() == idealPixelsFor(picture_.fullSize, geometry())) return;
  requestPicture();
}

bool TImagNV::turnsSideways() const {
  return rotate_ == TRotateType::sRight || rotate_ == TRotateType::sLeft;
}

QSize TImagNV::orientedSize() const {
  return turnsSideways() ? picture_.fullSize.transposed() : picture_.fullSize;
}

// The room without scroll bars: fit modes never need them, and a view that is
// not shown yet has no laid-out viewport to ask.
QSize TImagNV::orientedViewport() const { return maximumViewportSize().expandedTo(QSize(1, 1)); }

void TImagNV::rebuildOriented() {
  if (picture_.pixels.isNull() || (rotate_ == TRotateType::sOrigin && !mirrorH_ && !mirrorV_)) {
    oriented_ = picture_.pixels;
    return;
  }
  QTransform turn;
  turn.rotate(90.0 * static_cast<int>(rotate_));
  oriented_ = picture_.pixels.transformed(turn).mirrored(mirrorH_, mirrorV_);
}

QSize TImagNV::displaySize() const { return displaySizeFor(orientedSize(), {orientedViewport(), scale_}); }

QRect TImagNV::pictureRect() const {
  const QSize shown = displaySize();
  const QSize view = viewport()->size();
  const int x = placeAlong(shown.width(), view.width(), flags_ & view_flags::kAlignLeft,
                           flags_ & view_flags::kAlignRight, horizontalScrollBar()->value());
  const int y = placeAlong(shown.height(), view.height(), flags_ & view_flags::kAlignTop,
                           flags_ & view_flags::kAlignBottom, verticalScrollBar()->value());
  return QRect(QPoint(x, y), shown);
}

void TImagNV::relayout() {
  const Qt::ScrollBarPolicy policy =
      flags_ & view_flags::sVIEW_SCROLLBARS ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setHorizontalScrollBarPolicy(policy);
  setVerticalScrollBarPolicy(policy);
  const QSize shown = displaySize();
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, shown.width() - view.width()));
  verticalScrollBar()->setRange(0, std::max(0, shown.height() - view.height()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setPageStep(view.height());
  horizontalScrollBar()->setSingleStep(20);
  verticalScrollBar()->setSingleStep(20);
  fetchSharperIfNeeded();
  viewport()->update();
}

void TImagNV::setScale(int scale) {
  scale_ = scale > 0 ? std::clamp(scale, kMinPercent, kMaxPercent) : std::max(scale, kGrowToHeight);
  relayout();
}

void TImagNV::setScaling(TViewAttributes scaling) {
  switch (scaling) {
    case TViewAttributes::sSTRETCH_TO_FIT: setScale(kStretchToFit); break;
    case TViewAttributes::sSHRINK_TO_FIT: setScale(std::max(scale_, 0)); break;
    case TViewAttributes::sGROW_TO_FIT: setScale(kGrowToFit); break;
    case TViewAttributes::sGROW_TO_WIDTH: setScale(kGrowToWidth); break;
    case TViewAttributes::sGROW_TO_HEIGHT: setScale(kGrowToHeight); break;
  }
}

TViewAttributes TImagNV::scaling() const {
  switch (scale_) {
    case kStretchToFit: return TViewAttributes::sSTRETCH_TO_FIT;
    case kGrowToFit: return TViewAttributes::sGROW_TO_FIT;
    case kGrowToWidth: return TViewAttributes::sGROW_TO_WIDTH;
    case kGrowToHeight: return TViewAttributes::sGROW_TO_HEIGHT;
    default: return TViewAttributes::sSHRINK_TO_FIT;
  }
}

void TImagNV::setRotate(TRotateType rotate) {
  rotate_ = rotate;
  rebuildOriented();
  relayout();
}

void TImagNV::setMirrorH(bool on) {
  mirrorH_ = on;
  rebuildOriented();
  relayout();
}

void TImagNV::setMirrorV(bool on) {
  mirrorV_ = on;
  rebuildOriented();
  relayout();
}

void TImagNV::setAlignH(TIM_ALignH align) {
  int flags = flags_ & ~(view_flags::kAlignLeft | view_flags::kAlignRight);
  if (align == TIM_ALignH::IM_ALIGNH_LEFT) flags |= view_flags::kAlignLeft;
  if (align == TIM_ALignH::IM_ALIGNH_RIGHT) flags |= view_flags::kAlignRight;
  setAttributes(flags);
}

TIM_ALignH TImagNV::alignH() const {
  if (flags_ & view_flags::kAlignLeft) return TIM_ALignH::IM_ALIGNH_LEFT;
  if (flags_ & view_flags::kAlignRight) return TIM_ALignH::IM_ALIGNH_RIGHT;
  return TIM_ALignH::IM_ALIGNH_CENTER;
}

void TImagNV::setAlignV(TIM_AlignV align) {
  int flags = flags_ & ~(view_flags::kAlignTop | view_flags::kAlignBottom);
  if (align == TIM_AlignV::IM_ALIGNV_TOP) flags |= view_flags::kAlignTop;
  if (align == TIM_AlignV::IM_ALIGNV_BOTTOM) flags |= view_flags::kAlignBottom;
  setAttributes(flags);
}

TIM_AlignV TImagNV::alignV() const {
  if (flags_ & view_flags::kAlignTop) return TIM_AlignV::IM_ALIGNV_TOP;
  if (flags_ & view_flags::kAlignBottom) return TIM_AlignV::IM_ALIGNV_BOTTOM;
  return TIM_AlignV::IM_ALIGNV_CENTER;
}

void TImagNV::setAttributes(int flags) {
  flags_ = flags;
  relayout();
}

void TImagNV::setColor(const QColor& colour) {
  colour_ = colour;
  viewport()->update();
}

void TImagNV::setTool(int slot, int tool) {
  if (tool < 0 || tool > 4) return;
  tools_[slot & 3] = static_cast<TTool>(tool);
}

void TImagNV::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
  event->accept();
}

// Ctrl and the wheel zoom around the pointer, as viewers do; the wheel alone
// scrolls (or, in a window that steps through photos, steps).
void TImagNV::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier) || !isValid()) return QAbstractScrollArea::wheelEvent(event);
  const double notches = event->angleDelta().y() / 120.0;
  if (notches != 0) zoomAt(int(effectivePercent() * std::pow(kWheelZoom, notches) + 0.5), event->position().toPoint());
  event->accept();
}

void TImagNV::paintEvent(QPaintEvent*) {
  if (prefetchAfterPaint_) QTimer::singleShot(0, this, [this] { startPrefetch(); });
  QPainter painter(viewport());
  const QRect picture = oriented_.isNull() ? QRect() : pictureRect();
  // Only the room around the picture needs the background.
  painter.setClipRegion(QRegion(viewport()->rect()).subtracted(picture));
  painter.fillRect(viewport()->rect(), colour_);
  if (picture.isNull()) return;
  painter.setClipping(false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, flags_ & view_flags::sVIEW_SMOOTHING);
  painter.drawImage(picture, oriented_);
}

void TImagNV::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  relayout();
}

int TImagNV::effectivePercent() const {
  const QSize picture = orientedSize();
  if (picture.isEmpty()) return 100;
  return std::max(kMinPercent, int(qint64(displaySize().width()) * 100 / picture.width()));
}

// Zooms keeping the picture point under `at` where it is.
void TImagNV::zoomAt(int percent, QPoint at) {
  const QRect before = pictureRect();
  if (before.isEmpty()) return;
  const double fx = double(at.x() - before.x()) / before.width();
  const double fy = double(at.y() - before.y()) / before.height();
  setScale(percent);
  const QSize after = displaySize();
  horizontalScrollBar()->setValue(int(fx * after.width()) - at.x());
  verticalScrollBar()->setValue(int(fy * after.height()) - at.y());
  viewport()->update();
}

TTool TImagNV::toolFor(Qt::KeyboardModifiers modifiers) const {
  const int slot = (modifiers & Qt::ControlModifier ? 1 : 0) | (modifiers & Qt::ShiftModifier ? 2 : 0);
  return tools_[slot];
}

void TImagNV::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isValid()) return QAbstractScrollArea::mousePressEvent(event);
  activeTool_ = toolFor(event->modifiers());
  pressPoint_ = event->position().toPoint();
  pressScroll_ = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
  switch (activeTool_) {
    case TTool::ZoomIn: zoomAt(effectivePercent() * 2, pressPoint_); break;
    case TTool::ZoomOut: zoomAt(effectivePercent() / 2, pressPoint_); break;
    case TTool::Pan: viewport()->setCursor(Qt::ClosedHandCursor); break;
    case TTool::ZoomRect:
      if (!rubberBand_) rubberBand_ = new QRubberBand(QRubberBand::Rectangle, viewport());
      rubberBand_->setGeometry(QRect(pressPoint_, QSize()));
      rubberBand_->show();
      break;
    case TTool::None: break;
  }
  event->accept();
}

void TImagNV::mouseMoveEvent(QMouseEvent* event) {
  const QPoint delta = event->position().toPoint() - pressPoint_;
  if (activeTool_ == TTool::Pan) {
    horizontalScrollBar()->setValue(pressScroll_.x() - delta.x());
    verticalScrollBar()->setValue(pressScroll_.y() - delta.y());
    viewport()->update();
  } else if (activeTool_ == TTool::ZoomRect && rubberBand_) {
    rubberBand_->setGeometry(QRect(pressPoint_, event->position().toPoint()).normalized());
  }
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TImagNV::mouseReleaseEvent(QMouseEvent* event) {
  if (activeTool_ == TTool::ZoomRect && rubberBand_) {
    rubberBand_->hide();
    const QRect chosen = rubberBand_->geometry();
    if (chosen.width() > 4 && chosen.height() > 4) {
      const QSize view = viewport()->size();
      const double grow = std::min(double(view.width()) / chosen.width(), double(view.height()) / chosen.height());
      const QRect before = pictureRect();
      const QPointF centre = QPointF(chosen.center() - before.topLeft()) / before.width();
      setScale(int(effectivePercent() * grow));
      const QSize after = displaySize();
      horizontalScrollBar()->setValue(int(centre.x() * after.width()) - view.width() / 2);
      verticalScrollBar()->setValue(int(centre.y() * after.width()) - view.height() / 2);
    }
  }
  if (activeTool_ == TTool::Pan) viewport()->unsetCursor();
  activeTool_ = TTool::None;
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TImagNV::contextMenuEvent(QContextMenuEvent* event) {
  if (!(flags_ & view_flags::sPOPUP_MENU) || !isValid()) return;
  QMenu menu(this);
  const auto scaleItem = [&](const char* caption, int scale) {
    QAction* item = menu.addAction(caption, this, [this, scale] { setScale(scale); });
    item->setCheckable(true);
    item->setChecked(scale_ == scale);
  };
  scaleItem("Shrink to fit", kShrinkToFit);
  scaleItem("Grow to fit", kGrowToFit);
  scaleItem("Stretch to fit", kStretchToFit);
  scaleItem("Full size", 100);
  menu.addSeparator();
  const QPoint at = viewport()->mapFromGlobal(event->globalPos());
  menu.addAction("Zoom in", this, [this, at] { zoomAt(effectivePercent() * 2, at); });
  menu.addAction("Zoom out", this, [this, at] { zoomAt(effectivePercent() / 2, at); });
  menu.exec(event->globalPos());
}

}  // namespace vistrel::imaging
