#include "app/gui_main.h"

#include <QApplication>

#include "app/main_form.h"
#include "platform/program_data.h"

namespace vistrel::app {

int runGui(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Vistrel");
  platform::ensureProgramData();
  TMainForm mainForm;
  mainForm.show();
  return QApplication::exec();
}

}  // namespace vistrel::app
