#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vistrel::cli {

// vistrel gallery [OPTIONS] [FILE|FOLDER ...]: the gallery run without windows.
std::unique_ptr<Command> makeGalleryCommand(std::vector<std::string> args);

inline constexpr const char* kGallerySynopsis =
    "gallery [--settings F.vgc] [--set [Section.]Key=Value] [--target DIR] [--html-only]\n"
    "                [--list F.vfl] [--overwrite ask|all|none] [--jobs N] [--open] [--ftp SITE] [--quiet]\n"
    "                [--print-settings] [--save-settings F.vgc] [FILE|FOLDER ...]";

}  // namespace vistrel::cli
