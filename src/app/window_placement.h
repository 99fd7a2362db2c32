#pragma once

#include <QList>
#include <QRect>

namespace vistrel::app {

// Where a window goes that was kept at `frame` (its frame's top-left and its
// size): there, when that lies on one of the screens' available areas;
// otherwise moved, and shrunk if need be, onto the screen it overlaps most, or
// the first screen when it overlaps none. A monitor unplugged since, or a
// position a window manager once pushed off the top, never leaves the window
// out of reach.
QRect placeOnScreens(const QRect& frame, const QList<QRect>& screens);

}  // namespace vistrel::app
