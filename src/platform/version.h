#pragma once

#include <string>

namespace vistrel::platform {

// "3.12.0": the version CMake was given for this build.
std::string versionText();

}  // namespace vistrel::platform
