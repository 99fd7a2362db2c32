#include "tools/textreplace/replace_run.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"
#include "tools/textreplace/masked_files.h"
#include "tools/textreplace/texrep_settings.h"

namespace vistrel::textreplace {
namespace {

namespace fs = std::filesystem;
using platform::readFile;

class ReplaceRunTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::vector<std::string> log;

  int run(const std::vector<fs::path>& files, const ReplaceRule& rule, bool backup = true) {
    return replaceInFiles(files, rule, backup, [&](const FileResult& result) {
      log.push_back(logLine(result.file.filename().string(), result));
    });
  }
};

TEST_F(ReplaceRunTest, ChangedFilesAreBackedUpAndTwoFilesNeverShareABackup) {
  const fs::path htm = folder.write("page.htm", "Previous\r\n");
  const fs::path html = folder.write("page.html", "<a>Previous</a>\n");
  const fs::path untouched = folder.write("other.css", "body {}\n");
  folder.write("page.bak", "from an earlier run");
  EXPECT_EQ(run({htm, html, untouched}, {"Previous", "Back"}), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"page.htm - 1 replacement(s)", "page.html - 1 replacement(s)",
                                           "other.css - 0 replacement(s)"}));
  EXPECT_EQ(readFile(htm), "Back\r\n");
  EXPECT_EQ(readFile(html), "<a>Back</a>\n");
  EXPECT_EQ(readFile(folder / "page.bak"), "Previous\r\n");
  EXPECT_EQ(readFile(folder / "page.html.bak"), "<a>Previous</a>\n");
  EXPECT_FALSE(fs::exists(folder / "other.bak"));
  EXPECT_EQ(backupPath(folder / "index.html"), folder / "index.bak");
}

TEST_F(ReplaceRunTest, AFailingFileIsLoggedAndTheRunGoesOn) {
  const fs::path locked = folder.write("locked.htm", "Previous");
  platform::setReadOnly(locked, true);
  const fs::path good = folder.write("good.htm", "Previous");
  EXPECT_EQ(run({folder / "gone.htm", locked, good}, {"Previous", "Back"}, false), 2);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_NE(log[0].find("gone.htm - not changed: "), std::string::npos) << log[0];
  EXPECT_EQ(log[1], "locked.htm - not changed: The file is read-only");
  EXPECT_EQ(readFile(locked), "Previous");
  EXPECT_EQ(readFile(good), "Back");
}

TEST_F(ReplaceRunTest, NoSelectionAndTheLargeBatchWarning) {
  test::ScriptedPrompter prompter;
  EXPECT_FALSE(confirmRun(0, true, prompter));
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "No files selected");
  EXPECT_TRUE(confirmRun(9, false, prompter));
  EXPECT_TRUE(confirmRun(10, true, prompter));
  prompter.expect("large number of files", platform::Answer::No);
  EXPECT_FALSE(confirmRun(10, false, prompter));
  prompter.expect("NOT to backup", platform::Answer::Yes);
  EXPECT_TRUE(confirmRun(10, false, prompter));
}

TEST_F(ReplaceRunTest, SettingsAndHistoriesRoundTrip) {
  platform::SettingsStore store(folder / "settings.reg");
  EXPECT_TRUE(readTexRepSettings(store).wholeWords);
  TexRepSettings settings;
  settings.caseSensitive = true;
  settings.backup = false;
  settings.fileMask = 2;
  for (int i = 0; i < 12; ++i) addToHistory(settings.findHistory, "find" + std::to_string(i));
  addToHistory(settings.findHistory, "find3");
  addToHistory(settings.replaceHistory, "");
  addToHistory(settings.replaceHistory, "Back");
  writeTexRepSettings(store, settings);
  auto key = store.openKey("Software\\Kelmora\\Vistrel\\TexRep", false);
  EXPECT_EQ(key->readString("FindText0"), "find11");
  EXPECT_EQ(key->readString("FindText9"), "find2");
  EXPECT_FALSE(key->valueExists("ReplaceText1"));

  const TexRepSettings read = readTexRepSettings(store);
  EXPECT_TRUE(read.caseSensitive);
  EXPECT_FALSE(read.backup);
  EXPECT_EQ(read.fileMask, 2);
  EXPECT_EQ(read.findHistory.front(), "find2");
  EXPECT_EQ(read.findHistory.back(), "find11");
  EXPECT_EQ(read.replaceHistory, std::vector<std::string>{"Back"});

  key->deleteValue("Backup");
  const TexRepSettings damaged = readTexRepSettings(store);
  EXPECT_FALSE(damaged.caseSensitive);
  EXPECT_TRUE(damaged.wholeWords && damaged.backup);
}

TEST_F(ReplaceRunTest, TheMasksListPagesAsTheyWereMeant) {
  for (const char* name : {"a.htm", "b.HTML", "c.css", "d.txt", "e.shtml", "readme", ".hidden.htm"}) {
    folder.write(name, "");
  }
  fs::create_directory(folder / "sub.htm");
  const auto names = [&](std::string_view masks) {
    std::vector<std::string> found;
    for (const fs::path& file : listMaskedFiles(folder.path(), masks)) found.push_back(file.filename().string());
    return found;
  };
  EXPECT_EQ(names(fileMaskItems()[0]), (std::vector<std::string>{"a.htm", "b.HTML", "c.css", "e.shtml"}));
  EXPECT_EQ(names("*.*"), (std::vector<std::string>{"a.htm", "b.HTML", "c.css", "d.txt", "e.shtml", "readme"}));
  EXPECT_EQ(names("*.txt"), std::vector<std::string>{"d.txt"});
}

}  // namespace
}  // namespace vistrel::textreplace
