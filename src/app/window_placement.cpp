#include "app/window_placement.h"

#include <algorithm>

namespace vistrel::app {
namespace {

qint64 overlap(const QRect& a, const QRect& b) {
  const QRect common = a.intersected(b);
  return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

}  // namespace

QRect placeOnScreens(const QRect& frame, const QList<QRect>& screens) {
  if (screens.isEmpty()) return frame;
  const QRect* best = &screens.front();
  for (const QRect& screen : screens) {
    if (screen.contains(frame)) return frame;
    if (overlap(frame, screen) > overlap(frame, *best)) best = &screen;
  }
  const QSize size = frame.size().boundedTo(best->size());
  const int left = std::clamp(frame.left(), best->left(), best->right() + 1 - size.width());
  const int top = std::clamp(frame.top(), best->top(), best->bottom() + 1 - size.height());
  return QRect(QPoint(left, top), size);
}

}  // namespace vistrel::app
