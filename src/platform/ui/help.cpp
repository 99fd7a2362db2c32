#include "platform/ui/help.h"

#include <QDesktopServices>

#include "platform/program_data.h"

namespace vistrel::platform::ui {

QUrl helpUrl(int context) { return helpUrl(context != 0 ? QStringLiteral("context-%1").arg(context) : QString()); }

QUrl helpUrl(const QString& section) {
  const auto page = resourceFolder() / "help" / "index.html";
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(page.string()));
  if (!section.isEmpty()) url.setFragment(section);
  return url;
}

void showHelp(int context) { QDesktopServices::openUrl(helpUrl(context)); }

}  // namespace vistrel::platform::ui
