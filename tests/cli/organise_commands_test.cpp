#include <gtest/gtest.h>

#include "../metadata/exif_builder.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;
using platform::readFile;

std::string photoTakenAt(const std::string& exifDate) {
  TiffWriter tiff(false);
  const std::uint32_t first = tiff.addDirectory({tiff.ascii(0x0132, exifDate)});
  return jpegOf({exifSegment(tiff.block(first))});
}

class OrganiseCommandsTest : public ::testing::Test {
 protected:
  IsolatedUser user;
  TempFolder folder;
};

TEST_F(OrganiseCommandsTest, RenameShowsFirstThenRenames) {
  const std::string a = folder.write("a.jpg", photoTakenAt("2004:01:05 14:30:00")).string();
  const std::string b = folder.write("b.JPG", photoTakenAt("2004:01:05 14:30:40")).string();
  const std::vector<std::string> args = {"rename", "--pattern", "%d", "--date-format", "dd_mm_yyyy", "--lower", a, b};
  const std::string expected = a + " -> " + (folder / "05_01_2004_14_30.jpg").string() + "\n" + b + " -> " +
                               (folder / "05_01_2004_14_30(1).jpg").string() + "\n";
  std::vector<std::string> dry = args;
  dry.insert(dry.begin() + 1, "--dry-run");
  const auto planned = runVistrel(dry);
  EXPECT_EQ(planned.status, 0) << planned.err;
  EXPECT_EQ(planned.out, expected);
  EXPECT_TRUE(fs::exists(a));
  const auto done = runVistrel(args);
  EXPECT_EQ(done.status, 0) << done.err;
  EXPECT_EQ(done.out, expected);
  EXPECT_TRUE(fs::exists(folder / "05_01_2004_14_30(1).jpg"));

  EXPECT_EQ(runVistrel({"rename", "--pattern", "../x#", a}).status, 2);
  EXPECT_EQ(runVistrel({"rename", "--pattern", "x#", "--digits", "11", a}).status, 2);
  const auto missing = runVistrel({"rename", "--pattern", "x#", (folder / "gone.jpg").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("gone.jpg"), std::string::npos);
}

TEST_F(OrganiseCommandsTest, ImportMovesACardIntoTodaysFolderAndAutoRenamesTheNextTime) {
  const fs::path card = folder / "CARD", photos = folder / "PHOTOS";
  folder.write("CARD/IMG_0001.JPG", "first card");
  const std::vector<std::string> args = {"import",        "--from",  card.string(), "--to",
                                         photos.string(), "--dated", "dd_mm_yyyy",  "--move"};
  const auto first = runVistrel(args);
  ASSERT_EQ(first.status, 0) << first.err;
  const fs::path today = photos / platform::formatDateTime(platform::localNow(), "dd_mm_yyyy");
  EXPECT_EQ(readFile(today / "IMG_0001.JPG"), "first card");
  EXPECT_FALSE(fs::exists(card / "IMG_0001.JPG"));

  folder.write("CARD/IMG_0001.JPG", "second card");
  const auto second = runVistrel(args);
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.out, (card / "IMG_0001.JPG").string() + " -> " + (today / "IMG_0001 (2).JPG").string() + "\n");
  EXPECT_EQ(readFile(today / "IMG_0001.JPG"), "first card");
  EXPECT_EQ(runVistrel({"import", "--from", (folder / "none").string(), "--to", photos.string()}).status, 1);
}

TEST_F(OrganiseCommandsTest, CopyMoveAndTrash) {
  ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  const fs::path to = folder / "to";
  fs::create_directory(to);
  const std::string photo = folder.write("photo.jpg", "mine").string();
  folder.write("to/photo.jpg", "theirs");
  const auto unasked = runVistrel({"copy", "--to", to.string(), photo});
  EXPECT_EQ(unasked.status, 1) << "no terminal to ask whether to replace: kept, and said";
  EXPECT_NE(unasked.err.find("photo.jpg: not replaced"), std::string::npos) << unasked.err;
  EXPECT_EQ(readFile(to / "photo.jpg"), "theirs");
  const auto moved = runVistrel({"move", "--to", to.string(), "--rename-on-collision", photo});
  EXPECT_EQ(moved.status, 0) << moved.err;
  EXPECT_EQ(readFile(to / "photo (2).jpg"), "mine");
  EXPECT_FALSE(fs::exists(photo));
  const auto trashed = runVistrel({"trash", (to / "photo.jpg").string(), photo});
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(trashed.status, 1);
  EXPECT_EQ(trashed.out, (to / "photo.jpg").string() + "\n");
  EXPECT_TRUE(fs::exists(folder / "data/Trash/files/photo.jpg"));
  for (const char* command : {"rename", "import", "copy", "move", "trash"}) {
    EXPECT_EQ(runVistrel({command, "--help"}).status, 0) << command;
  }
  EXPECT_EQ(runVistrel({"copy", photo}).status, 2);
}

}  // namespace
}  // namespace vistrel::test
