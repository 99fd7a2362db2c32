#include "imaging/jpeg_rotation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "jpeg_coefficients.h"
#include "picture_tools.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

namespace fs = std::filesystem;
using Status = RotatedFile::Status;
using platform::Answer;

class JpegRotation : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("convert")) GTEST_SKIP() << "needs ImageMagick";
  }

  fs::path photo(const std::string& name, const std::string& extra = "") {
    const fs::path file = folder / name;
    test::makeImage("-size 64x48 plasma:fractal -seed 4 -sampling-factor 2x2 " + extra, file);
    return file;
  }

  std::string bytes(const fs::path& file) { return platform::readFile(file); }

  // Runs the command and returns what it reported, file by file.
  std::vector<RotatedFile> rotate(const std::vector<fs::path>& files, std::optional<JpegTransform> transform,
                                  const RotationOptions& options, unsigned workers = 1, int* rotated = nullptr) {
    std::vector<RotatedFile> reports;
    std::vector<fs::path> started;
    const int count = RotateJpegFiles(files, transform, options, prompter, workers,
                                      {[&](std::size_t, const fs::path& file) { started.push_back(file); },
                                       [&](const RotatedFile& file) {
                                         reports.push_back(file);
                                         return true;
                                       }});
    EXPECT_EQ(started.size(), reports.size());
    if (rotated) *rotated = count;
    return reports;
  }

  vistrel::test::TempFolder folder;
  vistrel::test::ScriptedPrompter prompter;
};

TEST_F(JpegRotation, ReplacingKeepsTheTimeStampAndPermissionsInListOrderOnAnyNumberOfWorkers) {
  const platform::SystemTime stamp = std::chrono::system_clock::from_time_t(1'500'000'000);
  std::vector<fs::path> files;
  std::vector<std::string> expected;
  for (int i = 0; i < 5; ++i) {
    files.push_back(photo("p" + std::to_string(i) + ".jpg"));
    platform::setLastWriteTime(files.back(), stamp);
    expected.push_back(TransformJpeg(bytes(files.back()), {JpegTransform::Rotate90, true, false, false, true}).bytes);
  }
  ::chmod(files[2].c_str(), 0444);
  const std::vector<std::string> originals = [&] {
    std::vector<std::string> all;
    for (const fs::path& f : files) all.push_back(bytes(f));
    return all;
  }();
  for (const unsigned workers : {1u, 3u}) {
    for (std::size_t i = 0; i < files.size(); ++i) platform::writeFileAtomically(files[i], originals[i]);
    for (const fs::path& f : files) platform::setLastWriteTime(f, stamp);
    ::chmod(files[2].c_str(), 0444);
    int rotated = 0;
    const auto reports = rotate(files, JpegTransform::Rotate90, {}, workers, &rotated);
    EXPECT_EQ(rotated, 5);
    ASSERT_EQ(reports.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(reports[i].source, files[i]);
      EXPECT_EQ(reports[i].output, files[i]);
      EXPECT_EQ(reports[i].status, Status::Rotated);
      EXPECT_FALSE(reports[i].newFile);
      EXPECT_EQ(bytes(files[i]), expected[i]);
      EXPECT_EQ(platform::lastWriteTime(files[i]), stamp);
    }
    struct stat info {};
    ::stat(files[2].c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    ::chmod(files[2].c_str(), 0644);
  }
}

TEST_F(JpegRotation, CopiesGoBesideTheSourceAndAnExistingOneIsReplacedOnlyWhenTheUserSaysYes) {
  const fs::path a = photo("a.jpg"), b = photo("b.jpg");
  const std::string original = bytes(a);
  RotationOptions copies;
  copies.replace = false;
  auto reports = rotate({a}, JpegTransform::Rotate180, copies);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].output, folder / "rot180_a.jpg");
  EXPECT_TRUE(reports[0].newFile);
  EXPECT_EQ(bytes(a), original);
  EXPECT_TRUE(test::readCoefficients(bytes(folder / "rot180_a.jpg")) ==
              test::readCoefficients(TransformJpeg(original, {JpegTransform::Rotate180}).bytes));

  prompter.expect("rot180_a.jpg already exists.\rDo you want to replace it?", Answer::Yes);
  reports = rotate({a}, JpegTransform::Rotate180, copies);
  EXPECT_EQ(reports[0].status, Status::Rotated);
  EXPECT_FALSE(reports[0].newFile);

  // No ends the whole command: b is not turned.
  prompter.expect("rot90_a.jpg already exists", Answer::No);
  platform::writeFileAtomically(folder / "rot90_a.jpg", "keep");
  reports = rotate({a, b}, JpegTransform::Rotate90, copies);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].status, Status::Declined);
  EXPECT_EQ(bytes(folder / "rot90_a.jpg"), "keep");
  EXPECT_FALSE(fs::exists(folder / "rot90_b.jpg"));
}

TEST_F(JpegRotation, FailuresAreReportedAndLeaveTheFilesAsTheyWere) {
  const fs::path good = photo("good.jpg"), text = folder.write("notes.jpg", "not a picture");
  const fs::path blocked = photo("blocked.jpg");
  const std::string original = bytes(blocked);
  // A folder where the copy should go: the new file cannot take its place.
  fs::create_directory(folder / "rot270_blocked.jpg");
  RotationOptions copies;
  copies.replace = false;
  prompter.expect("rot270_blocked.jpg already exists", Answer::Yes);
  const auto reports = rotate({text, blocked, good}, JpegTransform::Rotate270, copies);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].status, Status::Failed);
  EXPECT_NE(reports[0].message.find("Cannot transform the JPEG data"), std::string::npos);
  EXPECT_EQ(reports[1].status, Status::NotSaved);
  EXPECT_EQ(reports[1].message, "Can not save JPegImage to " + (folder / "rot270_blocked.jpg").string());
  EXPECT_EQ(bytes(blocked), original);
  EXPECT_EQ(bytes(text), "not a picture");
  EXPECT_EQ(reports[2].status, Status::Rotated);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 5);
}

TEST_F(JpegRotation, TurningAsTheCameraSaysLeavesUprightFilesUntouched) {
  const fs::path plain = photo("plain.jpg");
  const std::string before = bytes(plain);
  int rotated = -1;
  const auto reports = rotate({plain}, std::nullopt, {}, 1, &rotated);
  EXPECT_EQ(reports[0].status, Status::Upright);
  EXPECT_EQ(rotated, 0);
  EXPECT_EQ(bytes(plain), before);
}

}  // namespace
}  // namespace vistrel::imaging
