#include "platform/file_operation.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::platform {
namespace {

namespace fs = std::filesystem;

class FileOperationTest : public ::testing::Test {
 protected:
  test::TempFolder from, to;
  test::ScriptedPrompter prompter;

  std::vector<fs::path> sources(std::initializer_list<const char*> names) {
    std::vector<fs::path> files;
    for (const char* name : names) files.push_back(from.write(name, std::string("new ") + name));
    return files;
  }
};

TEST_F(FileOperationTest, RenameOnCollisionKeepsBothFiles) {
  to.write("a.jpg", "old a");
  to.write("a (2).jpg", "old a2");
  const auto result =
      copyOrMoveFiles(sources({"a.jpg", "b.jpg"}), to.path(), FileAction::Copy, Collision::Rename, prompter, {});
  ASSERT_EQ(result.done.size(), 2u);
  EXPECT_EQ(result.done[0].second, to / "a (3).jpg");
  EXPECT_EQ(readFile(to / "a.jpg"), "old a");
  EXPECT_EQ(readFile(to / "a (3).jpg"), "new a.jpg");
  EXPECT_EQ(readFile(to / "b.jpg"), "new b.jpg");
  EXPECT_TRUE(fs::exists(from / "a.jpg"));
}

// Yes and No answer for one file, "to all" for the rest of the batch.
TEST_F(FileOperationTest, TheOverwriteQuestionAndItsAnswersForAll) {
  for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg"}) to.write(name, "old");
  prompter.expect("\"1.jpg\"", Answer::Yes);
  prompter.expect("\"2.jpg\"", Answer::No);
  prompter.expect("\"3.jpg\"", Answer::NoToAll);
  auto result = copyOrMoveFiles(sources({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "new.jpg"}), to.path(), FileAction::Move,
                                Collision::Ask, prompter, {});
  EXPECT_EQ(readFile(to / "1.jpg"), "new 1.jpg");
  EXPECT_FALSE(fs::exists(from / "1.jpg"));
  for (const char* kept : {"2.jpg", "3.jpg", "4.jpg"}) {
    EXPECT_EQ(readFile(to / kept), "old");
    EXPECT_TRUE(fs::exists(from / kept)) << "a file not moved stays where it was";
  }
  EXPECT_EQ(result.kept, (std::vector<fs::path>{from / "2.jpg", from / "3.jpg", from / "4.jpg"}));
  EXPECT_EQ(readFile(to / "new.jpg"), "new new.jpg");

  prompter.expect("\"5.jpg\"", Answer::All);
  result = copyOrMoveFiles(sources({"5.jpg", "6.jpg"}), to.path(), FileAction::Copy, Collision::Ask, prompter, {});
  EXPECT_EQ(result.done.size(), 2u);
  EXPECT_EQ(readFile(to / "6.jpg"), "new 6.jpg");
}

TEST_F(FileOperationTest, FailuresAreListedAndTheBatchGoesOn) {
  fs::create_directory(from / "folder");
  auto files = sources({"a.jpg", "b.jpg"});
  files.insert(files.begin() + 1, from / "gone.jpg");
  files.push_back(from / "folder");
  const auto result = copyOrMoveFiles(files, to.path(), FileAction::Move, Collision::Rename, prompter, {});
  EXPECT_EQ(result.done.size(), 2u);
  ASSERT_EQ(result.failed.size(), 2u);
  EXPECT_EQ(result.failed[0].file, from / "gone.jpg");
  EXPECT_EQ(result.failed[1].file, from / "folder");
  EXPECT_EQ(failureListText(result.failed).find("gone.jpg: "), 0u);
  EXPECT_TRUE(fs::is_directory(from / "folder"));

  // A file copied into its own folder: a second file beside it, or a failure, never a loss.
  const auto self = from.write("self.jpg", "me");
  const auto same = copyOrMoveFiles({self}, from.path(), FileAction::Move, Collision::Ask, prompter, {});
  EXPECT_EQ(same.failed.size(), 1u);
  const auto twin = copyOrMoveFiles({self}, from.path(), FileAction::Copy, Collision::Rename, prompter, {});
  EXPECT_EQ(twin.done.at(0).second, from / "self (2).jpg");
  EXPECT_EQ(readFile(self), "me");
}

TEST_F(FileOperationTest, CancelEndsTheBatchBeforeTheNextFile) {
  FileBatchEvents events;
  std::vector<std::size_t> started;
  events.starting = [&](std::size_t index, std::size_t total, const fs::path&) {
    started.push_back(index);
    EXPECT_EQ(total, 3u);
  };
  events.cancelled = [&] { return started.size() == 2; };
  const auto result =
      copyOrMoveFiles(sources({"a", "b", "c"}), to.path(), FileAction::Copy, Collision::Rename, prompter, events);
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.done.size(), 2u);
  EXPECT_FALSE(fs::exists(to / "c"));
}

}  // namespace
}  // namespace vistrel::platform
