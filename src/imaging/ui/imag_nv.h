#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QPoint>
#include <QRect>
#include <QString>

#include "imaging/ui/picture_cache.h"
#include "imaging/ui/view_decoder.h"

class QRubberBand;

namespace vistrel::imaging {

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
// Files are decoded on worker threads at the size the view draws them (a
// picture cache keeps them), so a big file never holds up the window and a
// photo fetched ahead shows at once. Photos stand upright by their EXIF
// orientation unless that is switched off.
class TImagNV : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TImagNV(QWidget* parent = nullptr);
  ~TImagNV() override;

  // Several views may share one cache (and its memory budget); a view makes
  // its own when it has none.
  void setCache(PictureCache* cache);
  void setUpright(bool upright);
  bool upright() const { return upright_; }

  // Shows the file: at once when its picture is cached, else once decoded (a
  // cached picture of another size stands in meanwhile). An empty name
  // releases the picture.
  void setFilename(const QString& file);
  // Decodes these files ahead for the view as it is now.
  void prefetch(const QStringList& files);
  QString filename() const { return filename_; }
  // The page of a multi-page file; setting it loads that page of the file.
  void setPageNo(int page);
  int pageNo() const { return page_; }
  // Shows a picture that is already in memory.
  void setPicture(const QImage& picture);
  bool isValid() const { return !picture_.pixels.isNull(); }
  // Waiting for the picture of the file, or for a sharper one.
  bool isLoading() const { return loading_; }
  // The picture as held now (upright, before the view's own turn).
  const QImage& picture() const { return picture_.pixels; }

  int sizeX() const { return picture_.fullSize.width(); }
  int sizeY() const { return picture_.fullSize.height(); }
  int colors() const;
  int bitsPerPixel() const { return picture_.bitsPerPixel; }

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
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QSize orientedSize() const;
  QSize orientedViewport() const;
  bool turnsSideways() const;
  // The view as the picture cache sees it: the room before the view's own turn.
  ViewGeometry geometry() const;
  // The cache, or a new one of the view's own when a shared one has gone.
  PictureCache& pictures();
  void showPicture(ViewPicture picture);
  void rebuildOriented();
  void relayout();
  void requestPicture();
  void pictureArrived(const ViewPicture& picture);
  void fetchSharperIfNeeded();
  void startPrefetch();
  int effectivePercent() const;
  void zoomAt(int percent, QPoint viewportPoint);
  TTool toolFor(Qt::KeyboardModifiers modifiers) const;

  QPointer<PictureCache> cache_;  // a shared cache may go first when the windows close
  bool upright_ = true;
  QString filename_;
  int page_ = 0;
  PictureSource source_;
  ViewPicture picture_;
  QImage oriented_;  // picture_.pixels rotated and mirrored as the view shows it
  bool loading_ = false;
  bool announced_ = true;  // pictureChanged was sent for the current file
  QStringList prefetchFiles_;
  bool prefetchAfterPaint_ = false;
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
