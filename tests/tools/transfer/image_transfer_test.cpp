#include "tools/transfer/image_transfer.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"
#include "support/tmpfs_mount.h"

namespace vistrel::transfer {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

const platform::DateTime kToday{2004, 1, 5, 9, 0, 0};

class TransferTest : public ::testing::Test {
 protected:
  test::TempFolder card, photos;
  test::ScriptedPrompter prompter;
  TransferSettings settings;

  void SetUp() override {
    settings.sourcePath = card.path().string();
    settings.destPath = (photos / "Pictures").string();
    settings.dateFormat = "dd_mm_yyyy";
    card.write("IMG_0001.JPG", "one");
    card.write("IMG_0002.JPG", "two");
    card.write("MISC/info.dat", "not taken");
  }

  std::optional<TransferResult> run(const platform::FileBatchEvents& events = {}) {
    return transferImages(settings, kToday, prompter, events);
  }
};

TEST_F(TransferTest, DatedSubfolderWithoutAQuestionFilesOnlyAndAutoRenameOnTheSecondRun) {
  settings.createNewFolder = true;
  settings.move = true;
  const fs::path dated = photos / "Pictures/05_01_2004";
  auto result = run();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->destination, dated);
  EXPECT_EQ(platform::readFile(dated / "IMG_0001.JPG"), "one");
  EXPECT_FALSE(fs::exists(card / "IMG_0001.JPG"));
  EXPECT_FALSE(fs::exists(dated / "MISC"));
  EXPECT_TRUE(fs::exists(card / "MISC/info.dat"));

  card.write("IMG_0001.JPG", "next card");
  result = run();
  ASSERT_EQ(result->files.done.size(), 1u);
  EXPECT_EQ(result->files.done[0].second, dated / "IMG_0001 (2).JPG");
  EXPECT_EQ(platform::readFile(dated / "IMG_0001.JPG"), "one");
}

TEST_F(TransferTest, AMissingDestinationIsCreatedOnlyAfterTheQuestion) {
  prompter.expect("Destination folder does not exist.", Answer::Cancel);
  EXPECT_FALSE(run());
  EXPECT_FALSE(fs::exists(settings.destPath));
  prompter.expect("Destination folder does not exist.", Answer::Ok);
  EXPECT_TRUE(run());
  EXPECT_TRUE(fs::exists(photos / "Pictures/IMG_0002.JPG"));
  EXPECT_TRUE(fs::exists(card / "IMG_0002.JPG")) << "copied, not moved";

  settings.sourcePath = (card / "missing").string();
  EXPECT_FALSE(run());
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "Source folder not found.\r\n\r\nOperation aborted.");
}

TEST_F(TransferTest, ReplaceAsksAndReadOnlyMarksTheDestinationsFiles) {
  platform::createFolders(settings.destPath);
  const fs::path earlier = photos.write("Pictures/IMG_0001.JPG", "earlier");
  settings.replace = true;
  settings.readOnly = true;
  prompter.expect("\"IMG_0001.JPG\"", Answer::No);
  const auto result = run();
  EXPECT_EQ(result->files.kept, std::vector<fs::path>{card / "IMG_0001.JPG"});
  EXPECT_EQ(platform::readFile(earlier), "earlier");
  EXPECT_TRUE(platform::isReadOnly(earlier));
  EXPECT_TRUE(platform::isReadOnly(photos / "Pictures/IMG_0002.JPG"));
}

// A card pulled mid-way: what was moved is complete, what was not is on the card.
TEST_F(TransferTest, AMoveFromAnotherFileSystemLosesNothingWhenASourceVanishes) {
  test::TmpfsMount mounted;
  if (!mounted.mounted()) GTEST_SKIP() << mounted.reason();
  for (const char* name : {"IMG_0001.JPG", "IMG_0002.JPG", "IMG_0003.JPG"})
    mounted.write(name, std::string(70000, name[7]));
  settings.sourcePath = mounted.path().string();
  settings.move = true;
  prompter.expect("Destination folder does not exist.", Answer::Ok);
  platform::FileBatchEvents events;
  events.starting = [&](std::size_t index, std::size_t, const fs::path&) {
    if (index == 1) fs::remove(mounted / "IMG_0002.JPG");
  };
  const auto result = run(events);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->files.done.size(), 2u);
  ASSERT_EQ(result->files.failed.size(), 1u);
  EXPECT_EQ(result->files.failed[0].file, mounted / "IMG_0002.JPG");
  EXPECT_EQ(platform::readFile(photos / "Pictures/IMG_0003.JPG"), std::string(70000, '3'));
  EXPECT_TRUE(fs::is_empty(mounted.path()));
}

TEST(TransferSettings, FinalDestination) {
  TransferSettings settings;
  settings.destPath = "/photos";
  EXPECT_EQ(finalDestination(settings, kToday), "/photos");
  settings.createNewFolder = true;
  const std::pair<const char*, const char*> cases[] = {
      {"dd_mm_yyyy", "/photos/05_01_2004"},
      {"dd/mm:yyyy", "/photos/05_01_2004"},
      {"dd.mm.yyyy", "/photos/05.01.2004"},
      {"..", "/photos/__"},
  };
  for (const auto& [format, folder] : cases) {
    settings.dateFormat = format;
    EXPECT_EQ(finalDestination(settings, kToday), folder) << format;
  }
}

}  // namespace
}  // namespace vistrel::transfer
