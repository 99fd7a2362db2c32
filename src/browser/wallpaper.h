#pragma once

#include <filesystem>
#include <string_view>

#include "browser/thumbnail_geometry.h"
#include "platform/commands.h"

namespace vistrel::browser {

// A photo as the desktop background: the picture file we write, and the
// running desktop's own settings that show it.

enum class WallpaperStyle { Centered, Tiled, Stretched, Fitted };

// "Vistrel Wallpaper.bmp" in the program data folder.
std::filesystem::path WallpaperFile(const std::filesystem::path& programData);

// Writes the background picture of `photo` to `target` as a BMP file: the
// whole picture, or for Fitted the picture scaled to FittedWallpaperSize for
// the screen. With `upright` the photo is turned as its EXIF orientation
// says. Throws Error when the photo cannot be read or the file written.
void SaveWallpaperPicture(const std::filesystem::path& photo, WallpaperStyle style, Size screen, bool upright,
                          const std::filesystem::path& target);

// Makes `picture` the background of the desktop named by `desktop` (the
// XDG_CURRENT_DESKTOP list, such as "ubuntu:GNOME"): GNOME and its relatives
// through gsettings, KDE Plasma through its scripting interface on D-Bus,
// Xfce through xfconf-query. Throws Error with a message for the user when
// the desktop is not one of these or its settings tool fails.
void SetDesktopBackground(const std::filesystem::path& picture, WallpaperStyle style, std::string_view desktop,
                          platform::CommandRunner& commands);

}  // namespace vistrel::browser
