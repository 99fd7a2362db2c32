#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include "imaging/ui/view_decoder.h"

class QRubberBand;

namespace vistrel::imaging {

// Scale values: > 0 is a percentage (100 = full size); the others are modes.
inline constexpr int kShrinkToFit = 0;
inline constexpr int kGrowToFit = -1;
inline constexpr int kStretchToFit = -2;
inline constexpr int kGrowToWidth = -3;
inline constexpr int kGrowToHeight = -4;

enum class TViewAttributes { sSTRETCH_TO_FIT, sSHRINK_TO_FIT, sGROW_TO_FIT, sGROW_TO_WIDTH, sGROW_TO_HEIGHT };
enum class TRotateType { sOrigin, sRight, sFlip, sLeft };
enum class TIM_ALignH { IM_ALIGNH_CENTER, IM_ALIGNH_LEFT, IM_ALIGNH_RIGHT };
enum class TIM_AlignV { IM_ALIGNV_CENTER, IM_ALIGNV_TOP, IM_ALIGNV_BOTTOM };

// The view flags; the alignment sits in the low four bits.
namespace view_flags {
inline constexpr int kAlignTop = 0x1, kAlignBottom = 0x2, kAlignLeft = 0x4, kAlignRight = 0x8;
inline constexpr int sVIEW_PROGRESSIVE = 0x80, sDITHER_ENABLE = 0x100, sDITHER_FAST = 0x200,
                     sANTI_ALIAS = 0x400, sVIEW_SCROLLBARS = 0x800, sPOPUP_MENU = 0x2000,
                     sSCALE_MAX = 0x4000, sSCALE_MIN = 0x8000, sVIEW_SMOOTHING = 0x10000,
                     sVIEW_ANNOT = 0x20000;
inline constexpr int kDefault = 0x12F80;
}  // namespace view_flags

// What a mouse button does in the view; one tool per modifier slot.
enum class TTool { None = 0, ZoomIn = 1, ZoomOut = 2, Pan = 3, ZoomRect = 4 };

// The viewer control: shows one picture, scaled, rotated and mirrored as the
// view asks, on a background colour, with scroll bars when it does not fit.
// Files are decoded on a worker thread, reduced when the view needs fewer
// pixels than the picture has, so a big file never holds up the window.
class TImagNV : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TImagNV(QWidget* parent = nullptr);

  // Loads the file in the background; an empty name releases the picture.
  void setFilename(const QString& file);
  QString filename() const { return filename_; }
  // The page of a multi-page file; setting it loads that page of the file.
  void setPageNo(int page);
  int pageNo() const { return page_; }
  // Shows a picture that is already in memory.
  void setPicture(const QImage& picture);
  bool isValid() const { return !picture_.pixels.isNull(); }
  bool isLoading() const { return loading_; }

  int sizeX() const { return picture_.fullSize.width(); }
  int sizeY() const { return picture_.fullSize.height(); }
  int colors() const;
  int bitsPerPixel() const { return picture_.bitsPerPixel; }
  // The reduction of the picture on screen (1 = full size decoded).
  int reduction() const { return picture_.reduction; }

  void setScale(int scale);
  int scale() const { return scale_; }
  void setScaling(TViewAttributes scaling);
  TViewAttributes scaling() const;
  // The size the picture is drawn at in the current view.
  QSize displaySize() const;

  void setRotate(TRotateType rotate);
  TRotateType rotate() const { return rotate_; }
  void setMirrorH(bool on);
  bool mirrorH() const { return mirrorH_; }
  void setMirrorV(bool on);
  bool mirrorV() const { return mirrorV_; }

  void setAlignH(TIM_ALignH align);
  TIM_ALignH alignH() const;
  void setAlignV(TIM_AlignV align);
  TIM_AlignV alignV() const;
  void setAttributes(int flags);
  int attributes() const { return flags_; }

  void setColor(const QColor& colour);
  QColor color() const { return colour_; }

  // Slots: 0 plain, 1 Ctrl, 2 Shift, 3 Ctrl+Shift. Unknown tools are ignored.
  void setTool(int slot, int tool);
  TTool tool(int slot) const { return tools_[slot & 3]; }

  // Where the picture is drawn in the viewport.
  QRect pictureRect() const;

 signals:
  // The picture of the last setFilename() is on screen (or failed to load).
  void pictureChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QSize orientedSize() const;
  QSize orientedViewport() const;
  bool turnsSideways() const;
  void rebuildOriented();
  void relayout();
  void startDecode(QSize needed);
  void decodeFinished(quint64 generation, ViewPicture picture);
  void fetchDetailIfNeeded();
  int effectivePercent() const;
  void zoomAt(int percent, QPoint viewportPoint);
  TTool toolFor(Qt::KeyboardModifiers modifiers) const;

  QString filename_;
  int page_ = 0;
  ViewPicture picture_;
  QImage oriented_;  // picture_.pixels rotated and mirrored as the view shows it
  quint64 generation_ = 0;
  bool loading_ = false;
  bool fetchingDetail_ = false;
  int scale_ = kShrinkToFit;
  TRotateType rotate_ = TRotateType::sOrigin;
  bool mirrorH_ = false, mirrorV_ = false;
  int flags_ = view_flags::kDefault;
  QColor colour_ = Qt::lightGray;
  TTool tools_[4] = {TTool::Pan, TTool::ZoomIn, TTool::ZoomOut, TTool::ZoomRect};
  TTool activeTool_ = TTool::None;
  QPoint pressPoint_;
  QPoint pressScroll_;
  QRubberBand* rubberBand_ = nullptr;
};

}  // namespace vistrel::imaging
