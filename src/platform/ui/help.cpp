#include "platform/ui/help.h"

#include <QDesktopServices>

#include "platform/program_data.h"

namespace vistrel::platform::ui {

QUrl helpUrl(int context) {
  const auto page = resourceFolder() / "help" / "index.html";
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(page.string()));
  if (context != 0) url.setFragment(QStringLiteral("context-%1").arg(context));
  return url;
}

void showHelp(int context) { QDesktopServices::openUrl(helpUrl(context)); }

}  // namespace vistrel::platform::ui
