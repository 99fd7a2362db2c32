#pragma once

#include <QIcon>
#include <QStyle>

namespace vistrel::app {

// An icon of the desktop's theme, or the style's own when the theme has none.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback);

// The program's own icon.
QIcon programIcon();

}  // namespace vistrel::app
