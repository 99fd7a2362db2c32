// The manual page and the bash completion the build installs, made by the
// program from its command table.

#include <gtest/gtest.h>

#include "../metadata/tools.h"
#include "cli/command.h"
#include "platform/files.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

TEST(Manual, ShowsEveryCommandAndOptionWithoutRoffWarnings) {
  if (!haveTool("groff")) GTEST_SKIP() << "needs groff";
  TempFolder folder;
  const auto page = folder.write("vistrel.1", runVistrel({"--man-page"}).out);
  // groff prints its warnings on standard output here, after the page.
  const std::string text = runTool({"sh", "-c", "LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww \"$0\" 2>&1 | col -bx", page.string()});
  EXPECT_EQ(text.find("warning"), std::string::npos) << text;
  for (const cli::CommandInfo& info : cli::commands()) {
    EXPECT_NE(text.find("vistrel " + std::string(info.name)), std::string::npos) << info.name;
    for (const cli::OptionSpec& option : info.options) {
      EXPECT_NE(text.find(std::string(option.name)), std::string::npos) << info.name << " " << option.name;
    }
  }
}

// Each case: the words typed, the last one being completed, and the lines the
// completion offers (sorted).
struct CompletionCase {
  std::vector<std::string> words;
  std::string offered;
};

TEST(Manual, BashCompletesCommandsOptionsAndTheirValues) {
  const char* library = "/usr/share/bash-completion/bash_completion";
  if (!std::filesystem::exists(library)) GTEST_SKIP() << "needs Debian's bash-completion";
  TempFolder folder;
  const auto script = folder.write("vistrel.bash", runVistrel({"--bash-completion"}).out);
  folder.write("home/ftp.dat", "Home page>ftp.example.org>me>>21>/\r\nO'Brien & co>h>u>>21>/\r\n");
  folder.write("work/a.vgc", "");
  folder.write("work/b.txt", "");
  folder.write("work/sub/c.vgc", "");
  const std::string program = std::filesystem::absolute(VISTREL_BINARY).string();
  const CompletionCase cases[] = {
      {{"vistrel", "gal"}, "gallery\n"},
      {{"vistrel", "help", "inf"}, "info\n"},
      {{"vistrel", "gallery", "--ov"}, "--overwrite\n"},
      {{"vistrel", "gallery", "--overwrite", "a"}, "all\nask\n"},
      {{"vistrel", "gallery", "--overwrite=n"}, "none\n"},
      {{"vistrel", "gallery", "--set", "General.Col"}, "General.Cols=\n"},
      {{"vistrel", "gallery", "--set", "Cols=5"}, ""},
      {{"vistrel", "gallery", "--settings", ""}, "a.vgc\nsub\n"},
      {{"vistrel", "gallery", "--target", ""}, "sub\n"},
      {{"vistrel", "ftp", "--site", ""}, "Home\\ page\nO\\'Brien\\ \\&\\ co\n"},
      {{program, "gallery", "--ftp", "H"}, "Home\\ page\n"},
  };
  for (const CompletionCase& c : cases) {
    std::string words;
    for (const std::string& word : c.words) words += "'" + word + "' ";
    const std::string offered = runTool(
        {"bash", "-c",
         "cd \"$0/work\" && export VISTREL_HOME=\"$0/home\" PATH=\"${1%/*}:$PATH\" && source " + std::string(library) +
             " && source \"$2\" && COMP_WORDS=(" + words +
             ") && COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && COMP_LINE=\"${COMP_WORDS[*]}\" && "
             "COMP_POINT=${#COMP_LINE} && _vistrel 2>/dev/null; printf '%s\\n' \"${COMPREPLY[@]}\" | sed '/^$/d' | sort",
         folder.path().string(), program, script.string()});
    EXPECT_EQ(offered, c.offered) << words;
  }
}

}  // namespace
}  // namespace vistrel::test
