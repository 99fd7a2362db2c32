#include "browser/wallpaper.h"

#include <gtest/gtest.h>

#include <map>

#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::browser {
namespace {

using platform::CommandLine;

// Stands in for the desktop's tools: records every call and answers with a
// canned result per program.
class RecordingRunner : public platform::CommandRunner {
 public:
  std::vector<CommandLine> calls;
  std::map<std::string, platform::CommandResult> results;

  platform::CommandResult run(const CommandLine& command) override {
    calls.push_back(command);
    const auto found = results.find(command.program);
    return found == results.end() ? platform::CommandResult{0, ""} : found->second;
  }
};

const std::filesystem::path kPicture = "/home/me/.local/share/vistrel/Vistrel Wallpaper.bmp";
const std::string kUri = "file:///home/me/.local/share/vistrel/Vistrel%20Wallpaper.bmp";

CommandLine gsettings(const char* key, std::string value) {
  return {"gsettings", {"set", "org.gnome.desktop.background", key, std::move(value)}};
}

TEST(DesktopBackground, GnomeAndItsRelativesGoThroughGsettings) {
  RecordingRunner runner;
  SetDesktopBackground(kPicture, WallpaperStyle::Tiled, "ubuntu:GNOME", runner);
  EXPECT_EQ(runner.calls, (std::vector<CommandLine>{gsettings("picture-uri", kUri),
                                                    gsettings("picture-options", "wallpaper"),
                                                    gsettings("picture-uri-dark", kUri)}));
  runner.calls.clear();
  SetDesktopBackground(kPicture, WallpaperStyle::Stretched, "MATE", runner);
  EXPECT_EQ(runner.calls,
            (std::vector<CommandLine>{{"gsettings", {"set", "org.mate.background", "picture-filename", kPicture}},
                                      {"gsettings", {"set", "org.mate.background", "picture-options", "stretched"}}}));
}

TEST(DesktopBackground, XfceSetsEveryMonitorThatHasAPicture) {
  RecordingRunner runner;
  runner.results["xfconf-query"] = {0,
                                    "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                                    "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
                                    "/backdrop/screen0/monitoreDP-1/workspace0/last-image\n"};
  SetDesktopBackground(kPicture, WallpaperStyle::Centered, "XFCE", runner);
  const auto set = [](const std::string& property, const std::string& value) {
    return CommandLine{"xfconf-query", {"-c", "xfce4-desktop", "-p", property, "-s", value}};
  };
  EXPECT_EQ(runner.calls,
            (std::vector<CommandLine>{{"xfconf-query", {"-c", "xfce4-desktop", "-l"}},
                                      set("/backdrop/screen0/monitorHDMI-1/workspace0/image-style", "1"),
                                      set("/backdrop/screen0/monitorHDMI-1/workspace0/last-image", kPicture),
                                      set("/backdrop/screen0/monitoreDP-1/workspace0/image-style", "1"),
                                      set("/backdrop/screen0/monitoreDP-1/workspace0/last-image", kPicture),
                                      {"xfdesktop", {"--reload"}}}));

  // A desktop that never had a picture gets the first monitor's entries made.
  runner.calls.clear();
  runner.results["xfconf-query"] = {0, ""};
  SetDesktopBackground(kPicture, WallpaperStyle::Tiled, "XFCE", runner);
  ASSERT_EQ(runner.calls.size(), 4u);
  EXPECT_EQ(runner.calls[2], (CommandLine{"xfconf-query",
                                          {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor0/workspace0/last-image",
                                           "-n", "-t", "string", "-s", kPicture}}));
}

TEST(DesktopBackground, PlasmaGetsAScriptOverDBus) {
  RecordingRunner runner;
  SetDesktopBackground(kPicture, WallpaperStyle::Stretched, "KDE", runner);
  ASSERT_EQ(runner.calls.size(), 1u);
  const CommandLine& call = runner.calls[0];
  EXPECT_EQ(call.program, "dbus-send");
  const std::string& script = call.arguments.back();
  EXPECT_EQ(script.rfind("string:", 0), 0u);
  EXPECT_NE(script.find("d.writeConfig(\"Image\", \"" + kUri + "\")"), std::string::npos);
  EXPECT_NE(script.find("d.writeConfig(\"FillMode\", 0)"), std::string::npos);
}

TEST(DesktopBackground, AnUnknownDesktopOrAFailingToolIsReported) {
  RecordingRunner runner;
  try {
    SetDesktopBackground(kPicture, WallpaperStyle::Centered, "Hyprland", runner);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("\"Hyprland\""), std::string::npos);
    EXPECT_NE(std::string(error.what()).find(kPicture.string()), std::string::npos);
  }
  EXPECT_TRUE(runner.calls.empty());
  runner.results["gsettings"] = {-1, ""};  // not installed
  EXPECT_THROW(SetDesktopBackground(kPicture, WallpaperStyle::Centered, "GNOME", runner), Error);
  EXPECT_EQ(runner.calls.size(), 1u);
}

TEST(WallpaperPicture, TheFittedPictureIsScaledToTheScreen) {
  test::TempFolder folder;
  imaging::TBitmap photo(300, 200);
  photo.Fill(200, 100, 50);
  const auto source = folder / "photo.jpg";
  imaging::SaveBitmapAsJpeg(source, photo);
  const auto target = WallpaperFile(folder.path());
  EXPECT_EQ(target.filename(), "Vistrel Wallpaper.bmp");

  SaveWallpaperPicture(source, WallpaperStyle::Fitted, {128, 102}, true, target);
  imaging::ImageHeader header = imaging::ReadImageHeader(target);
  EXPECT_EQ(header.width, 128);
  EXPECT_EQ(header.height, 85);
  SaveWallpaperPicture(source, WallpaperStyle::Centered, {128, 102}, true, target);
  header = imaging::ReadImageHeader(target);
  EXPECT_EQ(header.width, 300);
  EXPECT_THROW(SaveWallpaperPicture(folder / "none.jpg", WallpaperStyle::Tiled, {128, 102}, true, target), Error);
  EXPECT_EQ(imaging::ReadImageHeader(target).width, 300);  // the last good picture stays
}

}  // namespace
}  // namespace vistrel::browser
