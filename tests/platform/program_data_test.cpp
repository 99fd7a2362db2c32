#include "platform/program_data.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::platform {
namespace {

TEST(ProgramData, FollowsTheEnvironment) {
  test::IsolatedUser user;
  EXPECT_EQ(programDataFolder(), user.home());
  EXPECT_EQ(configFolder(), user.config());
  ::unsetenv("VISTREL_HOME");
  ::setenv("XDG_DATA_HOME", "/xdg/data", 1);
  EXPECT_EQ(programDataFolder(), std::filesystem::path("/xdg/data/vistrel"));
  ::unsetenv("XDG_DATA_HOME");
}

TEST(ProgramData, IsCreatedWithItsFoldersAndKeepsWhatTheUserRemoved) {
  test::IsolatedUser user;
  EXPECT_EQ(ensureProgramData(), user.home());
  for (const char* name : {"css", "gifs", "IPTCTemplates"}) {
    EXPECT_TRUE(std::filesystem::is_directory(user.home() / name)) << name;
  }
  // A folder the user emptied is not filled again on the next start.
  const auto entries = listFolder(user.home() / "css");
  for (const auto& entry : entries) std::filesystem::remove(entry.path);
  ensureProgramData();
  EXPECT_TRUE(listFolder(user.home() / "css").empty());
}

}  // namespace
}  // namespace vistrel::platform
