#include "app/gui_main.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProxyStyle>

#include "app/icons.h"
#include "app/main_form.h"
#include "app/single_instance.h"
#include "platform/ui/help_key.h"
#include "platform/ui/message_box_prompter.h"
#include "platform/heap_tuning.h"
#include "platform/log.h"
#include "platform/program_data.h"
#include "platform/settings_store.h"

namespace vistrel::app {
namespace {

// Shows an error that a command let through in the standard error box,
// instead of letting it end the program.
class Application : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(activeWindow(), "Error", QString::fromStdString(e.what()));
      return false;
    }
  }
};

// Hints appear half a second after the pointer stops.
class HintTimingStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 500;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

}  // namespace

int runGui(int argc, char** argv) {
  // Paths are made absolute here: a running browser works in another folder.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) {
    const QString argument = QString::fromLocal8Bit(argv[i]);
    arguments << (QFileInfo::exists(argument) ? QFileInfo(argument).absoluteFilePath() : argument);
  }
  // A running browser takes the arguments; this start then ends before it
  // has opened anything on the screen.
  SingleInstance instance(SingleInstance::defaultName());
  if (instance.handOver(arguments)) return 0;

  platform::returnLargeBuffers();
  Application application(argc, argv);
  QApplication::setStyle(new HintTimingStyle);
  // No display name: the desktop would add it to every window title, and the
  // main window's title starts with the name already.
  QApplication::setApplicationName("Vistrel");
  QApplication::setWindowIcon(programIcon());
  QApplication::setDesktopFileName("vistrel");
  application.installEventFilter(new platform::ui::HelpKey([](const QUrl& url) { QDesktopServices::openUrl(url); }, &application));
  if (!instance.takeOver()) log::warning("Another Vistrel may start beside this one: cannot claim the instance name");
  try {
    platform::SettingsStore store;
    // Message boxes centre on the screen: the prompter comes before the window it serves.
    platform::ui::MessageBoxPrompter prompter(nullptr);
    TMainForm mainForm(store, prompter, platform::ensureProgramData());
    QObject::connect(&instance, &SingleInstance::instanceStarted, &mainForm, [&mainForm](const QStringList& handed) {
      mainForm.bringToFront();
      mainForm.openArguments(handed);
    });
    mainForm.show();
    mainForm.openArguments(arguments);
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, "Error", QString::fromStdString(e.what()));
    return 1;
  }
}

}  // namespace vistrel::app
