#include "browser/wallpaper.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "browser/view_geometry.h"
#include "imaging/dib_filters.h"
#include "imaging/dib_transfer.h"
#include "imaging/image_file.h"
#include "imaging/orientation.h"
#include "metadata/summaries.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::browser {
namespace {

namespace fs = std::filesystem;
using platform::CommandLine;
using platform::CommandRunner;

enum class Desktop { Gnome, Cinnamon, Mate, Kde, Xfce };

// The names desktops put into XDG_CURRENT_DESKTOP, and how we set each one.
struct KnownDesktop {
  std::string_view name;
  Desktop desktop;
};
constexpr KnownDesktop kKnownDesktops[] = {
    {"gnome", Desktop::Gnome},        {"gnome-classic", Desktop::Gnome}, {"gnome-flashback", Desktop::Gnome},
    {"ubuntu", Desktop::Gnome},       {"unity", Desktop::Gnome},         {"budgie", Desktop::Gnome},
    {"pantheon", Desktop::Gnome},     {"x-cinnamon", Desktop::Cinnamon}, {"cinnamon", Desktop::Cinnamon},
    {"mate", Desktop::Mate},          {"kde", Desktop::Kde},             {"xfce", Desktop::Xfce},
};

std::optional<Desktop> desktopOf(std::string_view names) {
  std::size_t start = 0;
  while (start <= names.size()) {
    const std::size_t end = std::min(names.find(':', start), names.size());
    const std::string name = platform::asciiLower(names.substr(start, end - start));
    for (const KnownDesktop& known : kKnownDesktops) {
      if (name == known.name) return known.desktop;
    }
    start = end + 1;
  }
  return std::nullopt;
}

void runChecked(CommandRunner& commands, const CommandLine& command) {
  const platform::CommandResult result = commands.run(command);
  if (result.exitCode == 0) return;
  throw Error("The desktop background could not be set: " + command.program +
              (result.exitCode < 0 ? " could not be run." : " failed (exit status " + std::to_string(result.exitCode) + ")."));
}

CommandLine gsettings(std::string_view schema, std::string_view key, std::string value) {
  return {"gsettings", {"set", std::string(schema), std::string(key), std::move(value)}};
}

// GNOME, Cinnamon and MATE keep the same option words under their own schema.
void setThroughGsettings(Desktop desktop, const fs::path& picture, WallpaperStyle style, CommandRunner& commands) {
  const char* options = style == WallpaperStyle::Tiled ? "wallpaper" : style == WallpaperStyle::Stretched ? "stretched" : "centered";
  if (desktop == Desktop::Mate) {
    runChecked(commands, gsettings("org.mate.background", "picture-filename", picture.string()));
    runChecked(commands, gsettings("org.mate.background", "picture-options", options));
    return;
  }
  const std::string_view schema =
      desktop == Desktop::Cinnamon ? "org.cinnamon.desktop.background" : "org.gnome.desktop.background";
  const std::string uri = platform::fileUri(picture);
  runChecked(commands, gsettings(schema, "picture-uri", uri));
  runChecked(commands, gsettings(schema, "picture-options", options));
  // Only GNOME 42 and later know the dark-style picture; older ones refuse it.
  if (desktop == Desktop::Gnome) commands.run(gsettings(schema, "picture-uri-dark", uri));
}

// A text as a JavaScript string literal.
std::string scriptString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

// Plasma's image wallpaper fill modes: 0 stretch, 3 tile, 6 centre.
void setThroughPlasma(const fs::path& picture, WallpaperStyle style, CommandRunner& commands) {
  const int fillMode = style == WallpaperStyle::Tiled ? 3 : style == WallpaperStyle::Stretched ? 0 : 6;
  const std::string script =
      "var all = desktops(); for (var i = 0; i < all.length; i++) { var d = all[i]; "
      "d.wallpaperPlugin = \"org.kde.image\"; d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"]; "
      "d.writeConfig(\"Image\", " + scriptString(platform::fileUri(picture)) + "); "
      "d.writeConfig(\"FillMode\", " + std::to_string(fillMode) + "); }";
  runChecked(commands, {"dbus-send",
                        {"--session", "--type=method_call", "--dest=org.kde.plasmashell", "/PlasmaShell",
                         "org.kde.PlasmaShell.evaluateScript", "string:" + script}});
}

// Xfce keeps one picture per monitor and workspace; every one that has a
// picture gets ours. Image styles: 1 centred, 2 tiled, 3 stretched.
void setThroughXfconf(const fs::path& picture, WallpaperStyle style, CommandRunner& commands) {
  const std::string styleValue = style == WallpaperStyle::Tiled ? "2" : style == WallpaperStyle::Stretched ? "3" : "1";
  const CommandLine list{"xfconf-query", {"-c", "xfce4-desktop", "-l"}};
  const platform::CommandResult listed = commands.run(list);
  if (listed.exitCode != 0) runChecked(commands, list);
  constexpr std::string_view kImageKey = "/last-image";
  std::vector<std::string> prefixes;
  std::istringstream lines(listed.output);
  for (std::string line; std::getline(lines, line);) {
    line = std::string(platform::trimBlanks(line));
    if (line.size() > kImageKey.size() && line.ends_with(kImageKey)) {
      prefixes.push_back(line.substr(0, line.size() - kImageKey.size()));
    }
  }
  // A desktop that has never had a picture set has no such entries yet.
  const bool create = prefixes.empty();
  if (create) prefixes.push_back("/backdrop/screen0/monitor0/workspace0");
  const auto set = [&](const std::string& property, const char* type, const std::string& value) {
    std::vector<std::string> arguments{"-c", "xfce4-desktop", "-p", property};
    if (create) arguments.insert(arguments.end(), {"-n", "-t", type});
    arguments.insert(arguments.end(), {"-s", value});
    runChecked(commands, {"xfconf-query", arguments});
  };
  for (const std::string& prefix : prefixes) {
    set(prefix + "/image-style", "int", styleValue);
    set(prefix + std::string(kImageKey), "string", picture.string());
  }
  // Setting the path we set last time changes nothing in the settings, so the
  // desktop is asked to read the picture again.
  commands.run({"xfdesktop", {"--reload"}});
}

}  // namespace

fs::path WallpaperFile(const fs::path& programData) { return programData / "Vistrel Wallpaper.bmp"; }

void SaveWallpaperPicture(const fs::path& photo, WallpaperStyle style, Size screen, bool upright, const fs::path& target) {
  imaging::TBitmap picture = imaging::DecodeImageFile(photo, 0).bitmap;
  if (upright) picture = imaging::OrientBitmap(picture, metadata::ExifOrientationOfFile(photo));
  if (picture.Empty()) throw Error("There is no picture to save.");
  if (style == WallpaperStyle::Fitted) {
    const Size fitted = FittedWallpaperSize(picture.Width(), picture.Height(), screen.width, screen.height);
    imaging::TFastDIB source, scaled;
    imaging::BitmapToDib(picture, source);
    scaled.SetSize(fitted.width, fitted.height, source.BitCount);
    imaging::ResampleBilinear(source, scaled);
    imaging::DibToBitmap(scaled, picture);
  }
  imaging::SaveBitmapAsBmp(target, picture);
}

void SetDesktopBackground(const fs::path& picture, WallpaperStyle style, std::string_view desktop, CommandRunner& commands) {
  const std::optional<Desktop> known = desktopOf(desktop);
  if (!known) {
    throw Error("Vistrel cannot set the desktop background here: it knows the GNOME, KDE Plasma, Xfce, Cinnamon and "
                "MATE desktops, and the running desktop is " +
                (desktop.empty() ? std::string("not named") : "\"" + std::string(desktop) + "\"") +
                ".\r\n\r\nThe picture is saved as " + picture.string() +
                "; choose it as the background in your desktop's settings.");
  }
  switch (*known) {
    case Desktop::Kde: return setThroughPlasma(picture, style, commands);
    case Desktop::Xfce: return setThroughXfconf(picture, style, commands);
    default: return setThroughGsettings(*known, picture, style, commands);
  }
}

}  // namespace vistrel::browser
