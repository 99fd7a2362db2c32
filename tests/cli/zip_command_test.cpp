#include <gtest/gtest.h>

#include "gallery/imaging_codec.h"
#include "run_program.h"
#include "support/processes.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

struct ZipCommandTest : ::testing::Test {
  IsolatedUser user;
  TempFolder folder;

  // The files of a gallery made by the program itself.
  std::vector<std::string> gallery() {
    gallery::ImagingCodec codec;
    folder.write("photos/a.jpg", codec.encodeJpeg(gallery::RgbImage(320, 240), 80));
    folder.write("photos/b.jpg", codec.encodeJpeg(gallery::RgbImage(240, 320), 80));
    const auto made = runVistrel({"gallery", "-q", "--target", (folder / "web").string(), (folder / "photos").string()});
    EXPECT_EQ(made.status, 0) << made.err;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder / "web")) {
      if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    return files;
  }
};

TEST_F(ZipCommandTest, AGalleryZipsIntoAnArchiveThatTestsClean) {
  const std::vector<std::string> files = gallery();
  std::vector<std::string> args{"zip", (folder / "gallery").string(), "--level", "9"};
  args.insert(args.end(), files.begin(), files.end());
  const auto zipped = runVistrel(args);
  ASSERT_EQ(zipped.status, 0) << zipped.err;
  EXPECT_EQ(zipped.out, std::to_string(files.size()) + " file(s) zipped\n");
  const auto tested = runCommand({"/usr/bin/unzip", "-t", (folder / "gallery.zip").string()});
  EXPECT_EQ(tested.status, 0) << tested.output;
  EXPECT_NE(tested.output.find("index.html"), std::string::npos);
}

TEST_F(ZipCommandTest, WithAPasswordFileTheEntriesNeedThePassword) {
  const std::vector<std::string> files = gallery();
  const std::string key = folder.write("key.txt", "open sesame\nnot this").string();
  std::vector<std::string> args{"zip", "--password-file", key, (folder / "photos.rar").string()};
  args.insert(args.end(), files.begin(), files.end());
  ASSERT_EQ(runVistrel(args).status, 0);
  const std::string archive = (folder / "photos.rar.zip").string();
  const auto right = runCommand({"/usr/bin/7z", "t", "-popen sesame", archive});
  EXPECT_EQ(right.status, 0) << right.output;
  EXPECT_NE(runCommand({"/usr/bin/7z", "t", "-popen", archive}).status, 0);
}

TEST_F(ZipCommandTest, UnreadableFilesAndMistakes) {
  const std::string good = folder.write("good.txt", "good").string();
  const std::string missing = (folder / "missing.txt").string();
  const auto partly = runVistrel({"zip", (folder / "a.zip").string(), good, missing});
  EXPECT_EQ(partly.status, 1);
  EXPECT_EQ(partly.out, "1 file(s) zipped\n");
  EXPECT_NE(partly.err.find(missing), std::string::npos) << partly.err;

  EXPECT_EQ(runVistrel({"zip", "--level", "4", (folder / "b.zip").string(), good}).status, 2);
  EXPECT_EQ(runVistrel({"zip", (folder / "b.zip").string()}).status, 2);
  EXPECT_EQ(runVistrel({"zip", "--help"}).status, 0);
  EXPECT_FALSE(fs::exists(folder / "b.zip"));
}

}  // namespace
}  // namespace vistrel::test
