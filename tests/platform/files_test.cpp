#include "platform/files.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "support/temp_folder.h"
#include "support/tmpfs_mount.h"

namespace vistrel::platform {
namespace {

using namespace std::chrono_literals;

TEST(Files, CreateFoldersMakesAllParents) {
  test::TempFolder folder;
  createFolders(folder / "a/b/c");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "a/b/c"));
  createFolders(folder / "a/b/c");  // existing: fine
  folder.write("file", "x");
  EXPECT_THROW(createFolders(folder / "file/sub"), Error);
}

TEST(Files, CopyReplacesOrKeepsAndCarriesTimes) {
  test::TempFolder folder;
  const auto from = folder.write("from.jpg", "new content");
  const auto to = folder.write("to.jpg", "old");
  const SystemTime past = fromLocal({2001, 2, 3, 4, 5, 6});
  setLastWriteTime(from, past);

  EXPECT_FALSE(copyFile(from, to, IfExists::Keep));
  EXPECT_EQ(readFile(to), "old");
  EXPECT_TRUE(copyFile(from, to, IfExists::Replace));
  EXPECT_EQ(readFile(to), "new content");
  EXPECT_EQ(lastWriteTime(to), past);
  EXPECT_THROW(copyFile(folder / "missing", folder / "x", IfExists::Replace), Error);
  EXPECT_FALSE(std::filesystem::exists(folder / "x"));
}

TEST(Files, MoveKeepsTimesAndContentAndReplacesOnlyWhenTold) {
  test::TempFolder folder;
  const auto from = folder.write("a.txt", "abc");
  const SystemTime past = fromLocal({1999, 12, 31, 23, 59, 58});
  setLastWriteTime(from, past);
  EXPECT_TRUE(moveFile(from, folder / "sub.txt", IfExists::Keep));
  EXPECT_FALSE(std::filesystem::exists(from));
  EXPECT_EQ(readFile(folder / "sub.txt"), "abc");
  EXPECT_EQ(lastWriteTime(folder / "sub.txt"), past);

  const auto other = folder.write("b.txt", "b");
  EXPECT_FALSE(moveFile(other, folder / "sub.txt", IfExists::Keep));
  EXPECT_FALSE(renameNoReplace(other, folder / "sub.txt"));
  EXPECT_EQ(readFile(folder / "sub.txt"), "abc");
  EXPECT_TRUE(moveFile(other, folder / "sub.txt", IfExists::Replace));
  EXPECT_EQ(readFile(folder / "sub.txt"), "b");
  EXPECT_THROW(renameNoReplace(folder / "missing", folder / "x"), Error);
  EXPECT_EQ(numberedName("/p/photo.jpg", 2), "/p/photo (2).jpg");
}

// The copy is complete and the same before the source goes, with its times and mode.
TEST(Files, MoveAcrossFileSystemsCopiesChecksAndOnlyThenRemoves) {
  test::TmpfsMount card;
  if (!card.mounted()) GTEST_SKIP() << card.reason();
  test::TempFolder disk;
  const std::string photo(300000, 'p');
  const auto from = card.write("IMG_0001.JPG", photo);
  std::filesystem::permissions(from, std::filesystem::perms(0640));
  const SystemTime taken = fromLocal({2004, 1, 5, 14, 30, 0});
  setLastWriteTime(from, taken);
  const auto mine = disk.write("IMG_0002.JPG", "mine");

  EXPECT_TRUE(moveFile(from, disk / "IMG_0001.JPG", IfExists::Keep));
  EXPECT_FALSE(std::filesystem::exists(from));
  EXPECT_EQ(readFile(disk / "IMG_0001.JPG"), photo);
  EXPECT_EQ(lastWriteTime(disk / "IMG_0001.JPG"), taken);
  EXPECT_EQ(std::filesystem::status(disk / "IMG_0001.JPG").permissions(), std::filesystem::perms(0640));

  const auto second = card.write("IMG_0002.JPG", "card");
  EXPECT_FALSE(moveFile(second, mine, IfExists::Keep));
  EXPECT_EQ(readFile(second), "card");
  EXPECT_EQ(readFile(mine), "mine");
  EXPECT_THROW(moveFile(card / "gone.jpg", disk / "gone.jpg", IfExists::Keep), Error);
  EXPECT_FALSE(std::filesystem::exists(disk / "gone.jpg"));
}

TEST(Files, TimesReadOnlyAndHidden) {
  test::TempFolder folder;
  const auto file = folder.write(".hidden", "x");
  const SystemTime t = fromLocal({2020, 1, 1, 12, 0, 0});
  setLastAccessTime(file, t);
  setLastWriteTime(file, t + 1h);
  EXPECT_EQ(lastAccessTime(file), t);
  EXPECT_EQ(lastWriteTime(file), t + 1h);
  EXPECT_TRUE(isHidden(file));
  EXPECT_FALSE(isHidden(folder / "visible.jpg"));
  EXPECT_FALSE(isReadOnly(file));
  setReadOnly(file, true);
  EXPECT_TRUE(isReadOnly(file));
  setReadOnly(file, false);
  EXPECT_FALSE(isReadOnly(file));
}

TEST(Files, ListFolderIsSortedAndDescribesEntries) {
  test::TempFolder folder;
  folder.write("b.jpg", "12345");
  folder.write("a.png", "");
  createFolders(folder / "c");
  folder.write(".x", "");
  const auto entries = listFolder(folder.path());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].path.filename(), ".x");
  EXPECT_TRUE(entries[0].hidden);
  EXPECT_EQ(entries[2].path.filename(), "b.jpg");
  EXPECT_EQ(entries[2].size, 5u);
  EXPECT_TRUE(entries[3].isFolder);
  EXPECT_THROW(listFolder(folder / "missing"), Error);
}

// Large enough that its entries are read by more than one thread.
TEST(Files, ListFolderOfManyEntriesKeepsNameOrderAndLeavesOutEntriesThatCannotBeRead) {
  test::TempFolder folder;
  constexpr int kFiles = 1200;
  for (int i = kFiles - 1; i >= 0; --i) std::ofstream(folder / ("f" + std::to_string(i))) << std::string(std::size_t(i % 7), 'x');
  for (const char* dangling : {"f1000x", "f30x", "f1199x"}) std::filesystem::create_symlink(folder / "gone", folder / dangling);
  const auto entries = listFolder(folder.path());
  ASSERT_EQ(entries.size(), std::size_t(kFiles));
  EXPECT_TRUE(std::ranges::is_sorted(entries, {}, [](const FolderEntry& e) { return e.path.filename().string(); }));
  for (const FolderEntry& entry : entries) {
    EXPECT_EQ(entry.size, std::stoul(entry.path.filename().string().substr(1)) % 7) << entry.path;
  }
  EXPECT_EQ(countFolderEntries(folder.path()), std::size_t(kFiles + 3));
  EXPECT_EQ(countFolderEntries(folder / "missing"), 0u);
}

TEST(Files, MoveToTrashTakesTheFileAway) {
  test::TempFolder folder;
  ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  const auto file = folder.write("photo.jpg", "x");
  moveToTrash(file);
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(std::filesystem::exists(folder / "data/Trash/files/photo.jpg"));
}

TEST(AtomicFile, NothingAppearsUntilCommitAndNoTemporaryIsLeft) {
  test::TempFolder folder;
  const auto target = folder.write("page.html", "old");
  {
    AtomicFile out(target);
    out.write("new");
    EXPECT_EQ(readFile(target), "old");
  }  // not committed
  EXPECT_EQ(readFile(target), "old");
  {
    AtomicFile out(target);
    out.write("new");
    out.commit();
  }
  EXPECT_EQ(readFile(target), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(AtomicFile, SyncedOnlyWhenReplacingItStillMakesNewFilesAndReplacesOldOnes) {
  test::TempFolder folder;
  for (const char* content : {"new", "replaced"}) {
    AtomicFile out(folder / "page.html", Durability::WhenReplacing);
    out.write(content);
    out.commit();
    EXPECT_EQ(readFile(folder / "page.html"), content);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
  EXPECT_NO_THROW(syncFileSystem(folder.path()));
}

TEST(AtomicFile, KeepsTheModeOfTheFileItReplaces) {
  test::TempFolder folder;
  const auto target = folder.write("photo.jpg", "old");
  std::filesystem::permissions(target, std::filesystem::perms(0640));
  writeFileAtomically(target, "new");
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
}

TEST(AtomicFile, CommitAsNewNeverReplacesAndLeavesTheDataForAnotherName) {
  test::TempFolder folder;
  const auto taken = folder.write("photo.jpg", "old");
  AtomicFile out(taken);
  out.write("new");
  EXPECT_FALSE(out.commitAsNew(taken));
  EXPECT_EQ(readFile(taken), "old");
  EXPECT_TRUE(out.commitAsNew(folder / "photo (2).jpg"));
  EXPECT_EQ(readFile(folder / "photo (2).jpg"), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST(AtomicFile, AKilledWriterLeavesTheOldFile) {
  test::TempFolder folder;
  const auto target = folder.write("big.bin", "old");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AtomicFile out(target);
    const std::string chunk(1 << 20, 'n');
    for (;;) out.write(chunk);
  }
  std::this_thread::sleep_for(50ms);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(readFile(target), "old");

  // The next run in the folder takes away what the killed writer left, once
  // it has been quiet a while; a live writer's file and the user's stay.
  std::vector<std::filesystem::path> left;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    if (entry.path() != target) left.push_back(entry.path());
  }
  ASSERT_EQ(left.size(), 1u);
  EXPECT_TRUE(left[0].filename().string().starts_with(".vistrel-tmp-" + std::to_string(child) + "-"));
  EXPECT_TRUE(removeStaleTemporaryFiles(folder.path()).empty()) << "still fresh";
  std::filesystem::last_write_time(left[0], std::filesystem::file_time_type::clock::now() - 2min);
  const auto mine = folder.write(".vistrel-tmp-notes.txt", "the user's");
  AtomicFile live(folder / "other.bin");
  std::filesystem::last_write_time(live.temporaryPath(), std::filesystem::file_time_type::clock::now() - 2min);
  EXPECT_EQ(removeStaleTemporaryFiles(folder.path()), left);
  EXPECT_TRUE(std::filesystem::exists(mine));
  EXPECT_TRUE(std::filesystem::exists(live.temporaryPath()));
}

TEST(Files, NamesFromFilesBecomeOneSafeComponent) {
  const std::pair<std::string, std::string> cases[] = {
      {"thumb_", "thumb_"},          {"../../victim", "victim"}, {"/some/where/x_", "x_"},
      {"..\\..\\y_", "y_"},        {"..", "fallback"},         {"a/..", "fallback"},
      {"", "fallback"},              {"dir/", "fallback"},       {"a\x01" "b\nc\x7f", "abc"},
      {"r\xC2\x85\xC3\xA9", "r\xC3\xA9"},  // C1 NEL goes, é stays
  };
  for (const auto& [name, safe] : cases) EXPECT_EQ(safeNameComponent(name, "fallback"), safe) << name;
  EXPECT_TRUE(liesInside("/web/a/../b.jpg", "/web"));
  EXPECT_TRUE(liesInside("/web", "/web/"));
  EXPECT_FALSE(liesInside("/web/../webx/a.jpg", "/web"));
  EXPECT_FALSE(liesInside("/elsewhere", "/web"));
}

}  // namespace
}  // namespace vistrel::platform
