#pragma once

namespace vistrel::app {

// Starts the picture browser and runs its event loop; returns the exit status.
int runGui(int argc, char** argv);

}  // namespace vistrel::app
