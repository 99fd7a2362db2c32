#include "gallery/file_metadata.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_folder.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

TEST(FileMetadataTest, AFoldersDescriptionsAreReadAgainOnlyWhenTheFileChanges) {
  test::TempFolder folder;
  const fs::path list = folder.write("descript.ion", "a.jpg First\r\nb.jpg Second\r\n");
  FileMetadata metadata;
  EXPECT_EQ(metadata.description(folder / "a.jpg"), "First");
  // The same size and time: the descriptions read before still hold.
  const auto time = fs::last_write_time(list);
  folder.write("descript.ion", "a.jpg Fresh\r\nb.jpg Second\r\n");
  fs::last_write_time(list, time);
  EXPECT_EQ(metadata.description(folder / "b.jpg"), "Second");
  EXPECT_EQ(metadata.description(folder / "a.jpg"), "First");
  fs::last_write_time(list, time + std::chrono::seconds(1));
  EXPECT_EQ(metadata.description(folder / "a.jpg"), "Fresh");
  // A pipe of that name would block the run: it is not read.
  fs::remove(list);
  ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
  EXPECT_EQ(metadata.description(folder / "a.jpg"), "");
}

}  // namespace
}  // namespace vistrel::gallery
