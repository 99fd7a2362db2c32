#pragma once

#include <filesystem>

namespace vistrel::platform {

// The running program file (/proc/self/exe).
std::filesystem::path programFile();

// The resources shipped with the program: build/resources beside the program
// in a build tree, share/vistrel/resources when installed.
std::filesystem::path resourceFolder();

// Where everything lives that the program keeps beside itself: style sheets
// (css/), navigation images (gifs/), IPTC templates, ftp.dat, email.idx, the
// thumbnail cache and the default gallery target "web". $VISTREL_HOME when
// set, else $XDG_DATA_HOME/vistrel (~/.local/share/vistrel).
std::filesystem::path programDataFolder();

// Creates the program data folder on first use and seeds each of its resource
// folders (css, gifs, IPTCTemplates) that does not exist yet from the shipped
// resources. Returns the folder. Throws Error when it cannot be created.
std::filesystem::path ensureProgramData();

// The user's pictures folder (the desktop's XDG_PICTURES_DIR, usually ~/Pictures).
std::filesystem::path picturesFolder();

// $VISTREL_CONFIG_DIR when set, else $XDG_CONFIG_HOME/vistrel (~/.config/vistrel).
std::filesystem::path configFolder();

}  // namespace vistrel::platform
