#include "app/icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace vistrel::app {
namespace {

constexpr int kSide = 48;  // drawn large: the tool bar scales it down

void drawPadlock(QPainter& painter, bool locked) {
  const QColor ink = QApplication::palette().color(QPalette::WindowText);
  painter.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap));
  QPainterPath shackle;
  // An open lock's shackle is lifted and swung clear of the body on one side.
  const qreal lift = locked ? 0 : 8;
  shackle.moveTo(14, 24 - lift);
  shackle.lineTo(14, 16 - lift);
  shackle.arcTo(14, 6 - lift, 20, 20, 180, -180);
  shackle.lineTo(34, locked ? 24 : 14);
  painter.drawPath(shackle);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawRoundedRect(QRectF(8, 22, 32, 22), 4, 4);
  painter.setBrush(QApplication::palette().color(QPalette::Window));
  painter.drawEllipse(QPointF(24, 31), 3.5, 3.5);
}

// A check box, ticked or empty; on the selection colour for the highlighted rows.
void drawTagBox(QPainter& painter, bool ticked, bool highlighted) {
  const QPalette palette = QApplication::palette();
  if (highlighted) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.color(QPalette::Highlight));
    painter.drawRect(QRectF(0, 12, kSide, 24));
  }
  const QColor ink = highlighted ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::WindowText);
  painter.setBrush(highlighted ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));
  painter.setPen(QPen(ink, 4));
  painter.drawRoundedRect(QRectF(10, 10, 28, 28), 4, 4);
  if (!ticked) return;
  painter.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(QPolygonF({QPointF(16, 24), QPointF(22, 31), QPointF(33, 16)}));
}

}  // namespace

QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

QIcon drawnIcon(DrawnIcon picture) {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (picture) {
    case DrawnIcon::Locked: drawPadlock(painter, true); break;
    case DrawnIcon::Unlocked: drawPadlock(painter, false); break;
    case DrawnIcon::TagAll: drawTagBox(painter, true, false); break;
    case DrawnIcon::UntagAll: drawTagBox(painter, false, false); break;
    case DrawnIcon::TagHighlighted: drawTagBox(painter, true, true); break;
    case DrawnIcon::UntagHighlighted: drawTagBox(painter, false, true); break;
  }
  painter.end();
  return QIcon(pixmap);
}

QIcon themeIcon(const char* name, DrawnIcon fallback) { return QIcon::fromTheme(name, drawnIcon(fallback)); }

QIcon programIcon() { return QIcon(":/vistrel/vistrel.png"); }

}  // namespace vistrel::app
