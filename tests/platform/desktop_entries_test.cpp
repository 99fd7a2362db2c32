#include "platform/desktop_entries.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::platform {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

constexpr const char* kViewer = R"([Desktop Entry]
Type=Application
# a comment
Name=Viewer
Name[de]=Betrachter
Name[de_AT]=Anzeiger
Name[sr@latin]=Pregledac
Icon=viewer
Exec=viewer --title %c %i %F
MimeType=image/jpeg;image/png;text/x\;odd;

[Desktop Action window]
Name=New window
Exec=viewer --window
)";

TEST(DesktopEntry, NameFollowsTheLocaleAndOtherGroupsAreIgnored) {
  EXPECT_EQ(parseDesktopEntry(kViewer, "de_AT.UTF-8").name, "Anzeiger");
  EXPECT_EQ(parseDesktopEntry(kViewer, "de_CH.UTF-8").name, "Betrachter");
  EXPECT_EQ(parseDesktopEntry(kViewer, "sr_RS@latin").name, "Pregledac");
  EXPECT_EQ(parseDesktopEntry(kViewer, "fr_FR").name, "Viewer");
  EXPECT_EQ(parseDesktopEntry(kViewer, "C").name, "Viewer");
  const DesktopEntry entry = parseDesktopEntry(kViewer, "C");
  EXPECT_EQ(entry.exec, "viewer --title %c %i %F");
  EXPECT_EQ(entry.mimeTypes, (Args{"image/jpeg", "image/png", "text/x;odd"}));
  EXPECT_FALSE(entry.hidden);
}

TEST(DesktopEntry, ExecQuotingIsUndoneAfterTheStringEscapes) {
  // In the file a quoted backslash is written four times and a quoted '"' as \\".
  const DesktopEntry entry = parseDesktopEntry(
      "[Desktop Entry]\nExec=sh -c \"echo \\\\\"\\\\$1\\\\\" \\\\\\\\ \\\\`\" \"two  words\"\\sx\n", "C");
  EXPECT_EQ(splitCommandLine(entry.exec), (Args{"sh", "-c", "echo \"$1\" \\ `", "two  words", "x"}));
  EXPECT_EQ(splitCommandLine("  a\t\"\"  b "), (Args{"a", "", "b"}));
  EXPECT_THROW(splitCommandLine("viewer \"open"), Error);
}

TEST(DesktopEntry, FieldCodesExpandAroundTheFile) {
  DesktopEntry entry = parseDesktopEntry(kViewer, "de");
  entry.file = "/usr/share/applications/viewer.desktop";
  EXPECT_EQ(commandLineFor(entry, "/p/a.jpg"),
            (Args{"viewer", "--title", "Betrachter", "--icon", "viewer", "/p/a.jpg"}));

  entry.icon.clear();
  entry.exec = "viewer %k --at=%u 100%% %d %N";
  EXPECT_EQ(commandLineFor(entry, "/p/a.jpg"),
            (Args{"viewer", "/usr/share/applications/viewer.desktop", "--at=/p/a.jpg", "100%"}));

  entry.exec = "viewer --new-window";  // names no file: it goes last
  EXPECT_EQ(commandLineFor(entry, "/p/a.jpg"), (Args{"viewer", "--new-window", "/p/a.jpg"}));
  entry.exec = "%i";
  EXPECT_THROW(commandLineFor(entry, "/p/a.jpg"), Error);
}

TEST(DesktopEntry, AFileNameIsOneArgumentExactlyAsItIs) {
  DesktopEntry entry;
  const std::string name = "/p/a b \"c\" $(touch x) `id` %f \\n 'd'.jpg";
  for (const char* exec : {"viewer %f", "viewer %U", "viewer \"--file\" %u", "viewer"}) {
    entry.exec = exec;
    const Args command = commandLineFor(entry, name);
    EXPECT_EQ(command.back(), name) << exec;
    EXPECT_EQ(std::count(command.begin(), command.end(), name), 1) << exec;
  }
}

class ApplicationFolders : public ::testing::Test {
 protected:
  test::TempFolder home;
  test::TempFolder system;

  std::vector<fs::path> folders() const { return {home / "applications", system / "applications"}; }

  static std::vector<std::string> ids(const std::vector<DesktopEntry>& entries) {
    std::vector<std::string> result;
    for (const DesktopEntry& entry : entries) result.push_back(entry.id);
    return result;
  }
};

TEST_F(ApplicationFolders, OnlyShownInstalledEntriesForTheTypeInPrecedenceOrder) {
  const std::string jpeg = "Type=Application\nMimeType=image/jpeg;\n";
  home.write("applications/b.desktop", "[Desktop Entry]\nName=Beta\nExec=beta %f\n" + jpeg);
  home.write("applications/masked.desktop", "[Desktop Entry]\nName=Masked\nExec=m %f\nHidden=true\n" + jpeg);
  system.write("applications/masked.desktop", "[Desktop Entry]\nName=Masked\nExec=m %f\n" + jpeg);
  system.write("applications/b.desktop", "[Desktop Entry]\nName=Other beta\nExec=beta2 %f\n" + jpeg);
  system.write("applications/kde/a.desktop", "[Desktop Entry]\nName=Alpha\nExec=alpha %U\n" + jpeg);
  system.write("applications/vi.desktop", "[Desktop Entry]\nName=Vi\nExec=vi %f\nTerminal=true\n" + jpeg);
  system.write("applications/quiet.desktop", "[Desktop Entry]\nName=Quiet\nExec=q\nNoDisplay=true\n" + jpeg);
  system.write("applications/gone.desktop",
               "[Desktop Entry]\nName=Gone\nExec=g\nTryExec=no-such-program-here\n" + jpeg);
  system.write("applications/sh.desktop", "[Desktop Entry]\nName=Shell\nExec=sh\nTryExec=sh\n" + jpeg);
  system.write("applications/link.desktop", "[Desktop Entry]\nType=Link\nName=Link\nURL=x\nMimeType=image/jpeg;\n");
  system.write("applications/text.desktop",
               "[Desktop Entry]\nName=Text\nExec=t %f\nType=Application\n"
               "MimeType=text/plain;\n");
  system.write("applications/notes.txt", "[Desktop Entry]\nName=Notes\nExec=n\n" + jpeg);

  const std::vector<DesktopEntry> found = applicationsFor({"image/jpeg"}, folders(), "C");
  EXPECT_EQ(ids(found), (Args{"kde-a.desktop", "b.desktop", "sh.desktop"}));
  EXPECT_EQ(found[1].exec, "beta %f");  // the user's own entry wins
}

TEST_F(ApplicationFolders, ATypeFindsTheApplicationsOfTheTypesItInherits) {
  system.write("applications/text.desktop",
               "[Desktop Entry]\nType=Application\nName=Text\nExec=t %f\nMimeType=text/plain;\n");
  const std::vector<std::string> svg = mimeTypesOf(home.write("a.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>"));
  EXPECT_NE(std::find(svg.begin(), svg.end(), "text/plain"), svg.end());
  EXPECT_EQ(ids(applicationsFor(svg, folders(), "C")), (Args{"text.desktop"}));
  EXPECT_TRUE(applicationsFor(mimeTypesOf(home.write("a.jpg", "x")), folders(), "C").empty());
}

}  // namespace
}  // namespace vistrel::platform
