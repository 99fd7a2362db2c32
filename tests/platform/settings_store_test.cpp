#include "platform/settings_store.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "platform/files.h"
#include "platform/log.h"
#include "support/killed_runs.h"
#include "support/temp_folder.h"

namespace vistrel::platform {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return folder_ / "settings.reg"; }
  test::TempFolder folder_;
};

TEST_F(SettingsStoreTest, ValuesSurviveAReopenWithTheirTypes) {
  {
    SettingsStore store(file());
    auto key = store.openKey("Software\\Kelmora\\Vistrel", true);
    ASSERT_TRUE(key);
    key->writeString("FontName", "Tahoma \"bold\"\\\r\nline");
    key->writeInteger("SortCol", -3);
    key->writeBool("Gridlines", true);
    key->writeBinary("Blob", {0x00, 0xFF, 0x10});
  }
  SettingsStore store(file());
  auto key = store.openKey("software\\kelmora\\VISTREL", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readString("fontname"), "Tahoma \"bold\"\\\r\nline");
  EXPECT_EQ(key->readInteger("SortCol"), -3);
  EXPECT_TRUE(key->readBool("Gridlines"));
  EXPECT_EQ(key->readBinary("Blob"), (std::vector<std::uint8_t>{0x00, 0xFF, 0x10}));
}

TEST_F(SettingsStoreTest, MissingOrMistypedValuesThrowSoReadersCanStop) {
  SettingsStore store(file());
  auto key = store.openKey("Software\\Kelmora\\Vistrel", true);
  key->writeString("FontName", "Tahoma");
  key->writeDword("SortCol", 2);
  EXPECT_THROW(key->readDword("FontName"), SettingsError);
  EXPECT_THROW(key->readString("SortCol"), SettingsError);
  EXPECT_THROW(key->readBool("Missing"), SettingsError);
  EXPECT_THROW(key->readBinary("SortCol"), SettingsError);
}

TEST_F(SettingsStoreTest, OpenWithoutCreateFindsNothingAndCreatesNothing) {
  SettingsStore store(file());
  EXPECT_FALSE(store.openKey("Software\\Kelmora\\Vistrel\\History", false));
  EXPECT_FALSE(store.keyExists("Software\\Kelmora\\Vistrel\\History"));
  EXPECT_TRUE(store.openKey("Software\\Kelmora\\Vistrel\\History", true));
  EXPECT_TRUE(store.keyExists("Software\\Kelmora"));  // parents exist with their children
}

TEST_F(SettingsStoreTest, ValueNamesEnumerateInCreationOrderAndReplaceInPlace) {
  SettingsStore store(file());
  auto key = store.openKey("K", true);
  for (const char* name : {"History2", "History0", "History1"}) key->writeString(name, name);
  key->writeString("HISTORY0", "again");
  store.flush();
  store.reload();
  EXPECT_EQ(key->valueNames(), (std::vector<std::string>{"History2", "History0", "History1"}));
  EXPECT_EQ(key->readString("History0"), "again");
  key->deleteValue("history2");
  EXPECT_EQ(key->valueNames(), (std::vector<std::string>{"History0", "History1"}));
}

TEST_F(SettingsStoreTest, DeleteKeyTakesItsSubKeysButNotItsNeighbours) {
  SettingsStore store(file());
  store.openKey("A\\History\\Deep", true)->writeString("x", "1");
  store.openKey("A\\HistoryTwo", true)->writeString("y", "2");
  store.openKey("A\\Columns", true);
  EXPECT_EQ(store.subKeyNames("A"), (std::vector<std::string>{"Columns", "History", "HistoryTwo"}));
  store.deleteKey("A\\History");
  store.flush();
  SettingsStore again(file());
  EXPECT_FALSE(again.keyExists("A\\History"));
  EXPECT_FALSE(again.keyExists("A\\History\\Deep"));
  EXPECT_EQ(again.openKey("A\\HistoryTwo", false)->readString("y"), "2");
}

TEST_F(SettingsStoreTest, TheFileIsReadableText) {
  {
    SettingsStore store(file());
    auto key = store.openKey("Software\\Kelmora\\Vistrel", true);
    key->writeString("FontName", "Tahoma");
    key->writeDword("SortCol", 255);
  }
  const std::string text = readFile(file());
  EXPECT_NE(text.find("[Software\\Kelmora\\Vistrel]\n\"FontName\"=\"Tahoma\"\n\"SortCol\"=dword:000000ff\n"),
            std::string::npos)
      << text;
}

int damagedCopies(const std::filesystem::path& folder) {
  int aside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with("settings.reg.damaged-")) ++aside;
  }
  return aside;
}

// Twice within a second: the second copy must not take the first one's name.
TEST_F(SettingsStoreTest, DamagedFilesAreMovedAsideEachUnderItsOwnNameAndReported) {
  for (int i = 0; i < 2; ++i) {
    writeFileAtomically(file(), "[Software]\n\"Cut\"=\"no end\n");
    std::string reported;
    log::setSink([&](log::Level, std::string_view text) { reported += text; });
    SettingsStore store(file());
    log::setSink(nullptr);
    EXPECT_FALSE(store.keyExists("Software"));
    EXPECT_NE(reported.find("damaged"), std::string::npos);
  }
  EXPECT_EQ(damagedCopies(folder_.path()), 2);
  EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST_F(SettingsStoreTest, LinesEndingInCarriageReturnAndLineFeedAreRead) {
  writeFileAtomically(file(), "; Vistrel settings\r\n\r\n[Software\\Kelmora]\r\n\"Cols\"=dword:00000003\r\n");
  SettingsStore store(file());
  EXPECT_EQ(store.openKey("Software\\Kelmora", false)->readDword("Cols"), 3u);
  EXPECT_EQ(damagedCopies(folder_.path()), 0);
}

TEST_F(SettingsStoreTest, AFolderInThePlaceOfTheFileGivesDefaultsAndAPlainErrorOnSave) {
  std::filesystem::create_directory(file());
  std::string reported;
  log::setSink([&](log::Level, std::string_view text) { reported += text; });
  SettingsStore store(file());
  log::setSink(nullptr);
  EXPECT_NE(reported.find("is a folder"), std::string::npos) << reported;
  store.openKey("K", true)->writeString("a", "1");
  try {
    store.flush();
    ADD_FAILURE() << "saved over a folder";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find(file().string()), std::string::npos) << e.what();
  }
  EXPECT_TRUE(std::filesystem::is_directory(file()));
}

// As in a configuration folder the user cannot write to (the tests may run as
// root, so the lock file is made impossible instead): reading still works.
TEST_F(SettingsStoreTest, SettingsAreReadWhenTheLockFileCannotBeMade) {
  { SettingsStore(file()).openKey("K", true)->writeString("a", "1"); }
  std::filesystem::remove(file().string() + ".lock");
  std::filesystem::create_symlink(folder_.path() / "missing" / "lock", file().string() + ".lock");
  SettingsStore store(file());
  EXPECT_EQ(store.openKey("K", false)->readString("a"), "1");
}

// Two stores opened before either saves, as two running programs would hold them.
TEST_F(SettingsStoreTest, ChangesOfTwoStoresOnOneFileAreBothKept) {
  SettingsStore first(file());
  SettingsStore second(file());
  first.openKey("K", true)->writeString("a", "1");
  second.openKey("K", true)->writeString("b", "2");
  first.flush();
  second.flush();
  SettingsStore reader(file());
  EXPECT_EQ(reader.openKey("K", false)->readString("a"), "1");
  EXPECT_EQ(reader.openKey("K", false)->readString("b"), "2");
}

void writeManyAndExit(const std::filesystem::path& file, const std::string& prefix) {
  for (int i = 0; i < 40; ++i) {
    SettingsStore store(file);
    store.openKey("Software\\Kelmora\\Vistrel", true)->writeInteger(prefix + std::to_string(i), i);
    store.flush();
  }
  ::_exit(0);
}

TEST_F(SettingsStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) writeManyAndExit(file(), c == 0 ? "First" : "Second");
  }
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  SettingsStore store(file());
  auto key = store.openKey("Software\\Kelmora\\Vistrel", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->valueNames().size(), 80u);
  EXPECT_EQ(key->readInteger("First39"), 39);
  EXPECT_EQ(key->readInteger("Second39"), 39);
}

// The child rewrites a large value and a counter that names its letter, as fast
// as it can; wherever the kill lands, the file must hold one complete save.
TEST_F(SettingsStoreTest, AProcessKilledWhileSavingLeavesACompleteFile) {
  std::mt19937 random(7);
  for (int round = 0; round < std::max(12, test::killRounds()); ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SettingsStore store(file());
      auto key = store.openKey("K", true);
      for (int i = 0;; ++i) {
        key->writeString("Big", std::string(200000, static_cast<char>('A' + i % 26)));
        key->writeInteger("Counter", i);
        store.flush();
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 40));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    std::string reported;
    log::setSink([&](log::Level, std::string_view text) { reported += text; });
    SettingsStore store(file());
    log::setSink(nullptr);
    ASSERT_TRUE(reported.empty()) << reported;
    auto key = store.openKey("K", false);
    if (!key || !key->valueExists("Counter")) continue;  // killed before the first save
    const std::string big = key->readString("Big");
    ASSERT_EQ(big.size(), 200000u);
    EXPECT_EQ(big.find_first_not_of(big.front()), std::string::npos);
    EXPECT_EQ(big.front(), 'A' + key->readInteger("Counter") % 26);
  }
}

}  // namespace
}  // namespace vistrel::platform
