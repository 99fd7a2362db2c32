#pragma once

#include <string>

namespace vistrel::platform {

// "3.12.0": the version CMake was given for this build.
std::string versionText();
// "Vistrel 3.12": the name with the major and minor version, as titles show it.
std::string programTitle();

}  // namespace vistrel::platform
