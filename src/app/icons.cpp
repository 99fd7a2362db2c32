#include "app/icons.h"

#include <QApplication>

namespace vistrel::app {

QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

QIcon programIcon() { return QIcon(":/vistrel/vistrel.png"); }

}  // namespace vistrel::app
