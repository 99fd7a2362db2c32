#include "tools/targets/target_operation.h"

#include <gtest/gtest.h>

#include "metadata/descriptions.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"
#include "tools/targets/target_folders.h"

namespace vistrel::targets {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

TEST(TargetFolders, KeptInOrderAsTyped) {
  test::TempFolder folder;
  platform::SettingsStore store(folder / "settings.reg");
  TargetFolders folders;
  for (const char* typed : {"/mnt/Photos/", "/mnt/photos", "/mnt/Photos", "/"}) folders.add(folderText(typed));
  folders.names.insert(folders.names.begin() + 1, "");
  folders.write(store);
  const auto key = store.openKey("Software\\Kelmora\\Vistrel\\TargetFolders", false);
  EXPECT_EQ(key->valueNames(), (std::vector<std::string>{"DestStr0", "DestStr2", "DestStr3"}));
  EXPECT_EQ(TargetFolders::read(store).names, (std::vector<std::string>{"/mnt/Photos", "/mnt/photos", "/"}));
}

TEST(TargetFolders, AcceptingADestination) {
  test::TempFolder folder;
  test::ScriptedPrompter prompter;
  EXPECT_EQ(acceptDestination(folder.path().string() + "/", prompter), folder.path());
  prompter.expect("does not exist", Answer::No);
  EXPECT_FALSE(acceptDestination((folder / "new/sub").string(), prompter));
  EXPECT_FALSE(fs::exists(folder / "new"));
  prompter.expect("does not exist", Answer::Yes);
  EXPECT_EQ(acceptDestination((folder / "new/sub").string(), prompter), folder / "new/sub");
  EXPECT_TRUE(fs::is_directory(folder / "new/sub"));
  EXPECT_FALSE(acceptDestination("photos", prompter)) << "a relative path would land wherever the program started";
  EXPECT_EQ(prompter.shown().size(), 1u);
}

TEST(TargetOperation, DescriptionsGoWithTheFiles) {
  test::TempFolder from, to;
  test::ScriptedPrompter prompter;
  const fs::path a = from.write("a.jpg", "a"), b = from.write("b.jpg", "b");
  metadata::SetDescription(a, "the lake");
  metadata::SetDescription(b, "the hut");
  auto result = copyOrMoveTo({a}, to.path(), false, true, prompter, {});
  EXPECT_EQ(metadata::DescriptionOf(to / "a.jpg"), "the lake");
  EXPECT_EQ(metadata::DescriptionOf(a), "the lake") << "a copy leaves the original as it was";
  result = copyOrMoveTo({a, b}, to.path(), true, true, prompter, {});
  EXPECT_EQ(metadata::DescriptionOf(to / "a (2).jpg"), "the lake");
  EXPECT_EQ(metadata::DescriptionOf(to / "b.jpg"), "the hut");
  EXPECT_TRUE(metadata::FolderDescriptions(from.path()).empty()) << "the moved files' lines are dropped";
}

TEST(TargetOperation, DeleteAsksThenLeavesFileAndTrashInfoInTheTrash) {
  test::TempFolder folder;
  ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  test::ScriptedPrompter prompter;
  const fs::path photo = folder.write("photos/photo.jpg", "x");
  metadata::SetDescription(photo, "blurred");
  prompter.expect("move \"photo.jpg\" to the Trash", Answer::No);
  EXPECT_FALSE(deleteToTrash({photo}, true, prompter, {}));
  EXPECT_TRUE(fs::exists(photo));
  prompter.expect("move \"photo.jpg\" to the Trash", Answer::Yes);
  const auto result = deleteToTrash({photo}, true, prompter, {});
  ::unsetenv("XDG_DATA_HOME");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->done.size(), 1u);
  EXPECT_FALSE(fs::exists(photo));
  EXPECT_EQ(platform::readFile(folder / "data/Trash/files/photo.jpg"), "x");
  const std::string info = platform::readFile(folder / "data/Trash/info/photo.jpg.trashinfo");
  EXPECT_NE(info.find("Path=" + photo.string()), std::string::npos) << info;
  EXPECT_TRUE(metadata::FolderDescriptions(photo.parent_path()).empty());
}

}  // namespace
}  // namespace vistrel::targets
