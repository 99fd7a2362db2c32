#pragma once

#include <QUrl>

namespace vistrel::platform::ui {

// The program's help pages, opened in the desktop's browser. Each dialog has
// a context number; 0 is the contents.
QUrl helpUrl(int context);
void showHelp(int context);

}  // namespace vistrel::platform::ui
