#include "app/gui_main.h"
#include "cli/command.h"

int main(int argc, char** argv) {
  if (const auto status = vistrel::cli::runHeadless(argc, argv)) return *status;
  return vistrel::app::runGui(argc, argv);
}
