#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include "../metadata/tools.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;
using platform::readFile;

std::vector<std::string> sortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

class SearchCommandsTest : public ::testing::Test {
 protected:
  IsolatedUser user;
  TempFolder folder;
  fs::path tree = folder / "tree";

  // Names, sizes and times drawn from a seeded generator; never at midnight,
  // where find's "newer than" and our "from" (which includes it) part.
  void makeTree() {
    std::mt19937 random(7);
    const char* stems[] = {"img", "IMG_", "photo", "myimg", "notes", ".hidden", "Ärger"};
    const char* extensions[] = {".jpg", ".JPG", ".gif", ".txt", ".jpeg", ""};
    const char* folders[] = {"", "2024", "2024/june", ".cache", "misc/deep/er"};
    for (int i = 0; i < 400; ++i) {
      const std::string name = std::string(folders[random() % 5]) + "/" + stems[random() % 7] + std::to_string(i) +
                               extensions[random() % 6];
      const std::size_t size = i % 50 == 0 ? 1024 * (1 + i % 3) : random() % 4000;
      const platform::DateTime time{2024,          int(1 + random() % 6), int(1 + random() % 28),
                                    int(1 + random() % 22), int(random() % 60), int(random() % 60)};
      platform::setLastWriteTime(folder.write("tree/" + name, std::string(size, 'x')), platform::fromLocal(time));
    }
  }
};

TEST_F(SearchCommandsTest, FindPrintsWhatFindPrints) {
  makeTree();
  const struct {
    std::vector<std::string> ours;
    std::vector<std::string> peer;
  } cases[] = {
      {{"--name", "*.jpg"}, {"-iname", "*.jpg"}},
      {{"--name", "img"}, {"-iname", "*img*"}},
      {{"--name", "*.jpg;*.gif", "--min-kb", "1", "--max-kb", "2"},
       {"(", "-iname", "*.jpg", "-o", "-iname", "*.gif", ")", "-size", "+1023c", "-size", "-2049c"}},
      {{"--modified-from", "2024-03-01", "--modified-to", "2024-04-15"},
       {"-newermt", "2024-03-01 00:00:00", "!", "-newermt", "2024-04-16 00:00:00"}},
      {{"--no-subfolders"}, {"-maxdepth", "1"}},
      {{"--no-hidden", "--name", "photo*"}, {"-not", "-path", "*/.*", "-iname", "photo*"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> ours = {"find"};
    ours.insert(ours.end(), c.ours.begin(), c.ours.end());
    ours.push_back(tree.string());
    const ProgramResult result = runVistrel(ours);
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> peer = {"find", tree.string(), "-type", "f"};
    peer.insert(peer.end(), c.peer.begin(), c.peer.end());
    const std::vector<std::string> expected = sortedLines(runTool(peer));
    EXPECT_FALSE(expected.empty()) << c.peer.front();
    EXPECT_EQ(sortedLines(result.out), expected) << c.peer.front();
  }
  const ProgramResult missing = runVistrel({"find", (folder / "missing").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(runVistrel({"find", "--min-kb", "x", tree.string()}).status, 2);
  EXPECT_EQ(runVistrel({"find", "--modified-to", "2024-02-30", tree.string()}).status, 2);
}

TEST_F(SearchCommandsTest, ReplaceGivesWhatSedGivesAndKeepsBackups) {
  const char* lines[] = {"<a href=\"p1.html\">Previous</a> | <a href=\"p3.html\">Next</a>\r\n",
                         "previous page, PREVIOUS_PAGE and Previouses stay\n",
                         "Zurück (previous) – 3 × previous\n", "<td>Previous</td>", "\n"};
  std::vector<std::string> pages;
  for (int i = 0; i < 12; ++i) {
    std::string text;
    for (int j = 0; j < 5; ++j) text += lines[(i + j * 3) % 5];
    pages.push_back(folder.write("web/page" + std::to_string(i) + ".html", text).string());
  }
  const struct {
    std::vector<std::string> options;
    const char* sed;
  } cases[] = {
      {{}, "s/\\bprevious\\b/Back/gI"},
      {{"--case", "--no-whole-words", "--no-backup"}, "s/Previous/Back/g"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> expected, originals;
    for (const std::string& page : pages) {
      originals.push_back(readFile(page));
      expected.push_back(runTool({"sed", "-e", c.sed, page}));
    }
    std::vector<std::string> args = {"replace", "--find", "Previous", "--replace", "Back"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), pages.begin(), pages.end());
    const ProgramResult result = runVistrel(args);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(pages[1] + " - "), std::string::npos) << result.out;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      EXPECT_EQ(readFile(pages[i]), expected[i]) << pages[i];
      const fs::path backup = fs::path(pages[i]).replace_extension(".bak");
      if (c.options.empty()) {
        EXPECT_EQ(readFile(backup), originals[i]);
      }
    }
  }
  EXPECT_EQ(runVistrel({"replace", "--find", "", "--replace", "x", pages[0]}).status, 2);
  EXPECT_EQ(runVistrel({"replace", "--find", "x", pages[0]}).status, 2);
}

// A replace killed at any moment leaves the old page or the new one, and the
// backup, where there is one, is the old page whole.
TEST_F(SearchCommandsTest, AKilledReplaceLeavesTheOldOrTheNewPage) {
  std::string old, replaced;
  for (int i = 0; i < 2'000'000; ++i) {
    old += "Previous line " + std::to_string(i % 10) + "\n";
    replaced += "Back line " + std::to_string(i % 10) + "\n";
  }
  const fs::path page = folder / "big.html";
  for (const int delay : {0, 5, 20, 50, 100, 200, 400}) {
    SCOPED_TRACE(delay);
    platform::writeFileAtomically(page, old);
    fs::remove(folder / "big.bak");
    std::vector<std::string> args = {VISTREL_BINARY, "replace", "--find", "Previous", "--replace", "Back",
                                     page.string()};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    ASSERT_EQ(::posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ), 0);
    ::posix_spawn_file_actions_destroy(&quiet);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string after = readFile(page);
    EXPECT_TRUE(after == old || after == replaced) << after.size();
    if (fs::exists(folder / "big.bak")) {
      EXPECT_EQ(readFile(folder / "big.bak"), old);
    }
  }
}

}  // namespace
}  // namespace vistrel::test
