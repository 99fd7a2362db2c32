#pragma once

#include <QUrl>

namespace vistrel::platform::ui {

// The program's help pages, opened in the desktop's browser. Each dialog has
// a context number; 0 is the contents.
QUrl helpUrl(int context);
// A section of the help pages by its name, for windows without a context number.
QUrl helpUrl(const QString& section);
void showHelp(int context);

}  // namespace vistrel::platform::ui
