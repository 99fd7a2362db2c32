#include "app/main_form.h"

namespace vistrel::app {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Vistrel");
  setMinimumSize(630, 500);
}

}  // namespace vistrel::app
