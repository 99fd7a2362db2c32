#pragma once

#include <QIcon>
#include <QStyle>

namespace vistrel::app {

// An icon of the desktop's theme, or the style's own when the theme has none.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback);

// Pictures no style offers, drawn by the program: the style's nearest ones
// would mislead (a floppy disk for "encrypt", a trash can for "untag").
enum class DrawnIcon { Locked, Unlocked, TagAll, UntagAll, TagHighlighted, UntagHighlighted };
QIcon drawnIcon(DrawnIcon picture);
// The theme's icon of that name, or the drawn one.
QIcon themeIcon(const char* name, DrawnIcon fallback);

// The program's own icon.
QIcon programIcon();

}  // namespace vistrel::app
