#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "../metadata/exif_builder.h"
#include "../metadata/tools.h"
#include "imaging/image_file.h"
#include "noisy_photo.h"
#include "platform/files.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

// The photo with an EXIF block saying how the camera was held.
void addOrientation(const fs::path& file, int orientation) {
  TiffWriter tiff(false);
  tiff.addDirectory({tiff.shortValue(0x0112, std::uint16_t(orientation))});
  const std::string bytes = platform::readFile(file);
  platform::writeFileAtomically(file, bytes.substr(0, 2) + exifSegment(tiff.block(8)) + bytes.substr(2));
}

class RotateCommand : public ::testing::Test {
 protected:
  IsolatedUser user;
  TempFolder photos;
};

TEST_F(RotateCommand, TurnsPixelForPixelAsTheReferenceToolWithTrim) {
  if (!haveTool("jpegtran")) GTEST_SKIP() << "needs jpegtran";
  const fs::path photo = photos / "harbour.jpg", reference = photos / "reference.jpg";
  writeNoisyPhoto(photo, 645, 487);
  runTool({"jpegtran", "-rotate", "90", "-trim", "-copy", "all", "-outfile", reference.string(), photo.string()});
  const ProgramResult result = runVistrel({"rotate", "90", photo.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, photo.string() + "\n");
  const imaging::TBitmap ours = imaging::DecodeImageFile(photo, 0).bitmap;
  EXPECT_EQ(ours.Width(), 480);
  EXPECT_EQ(ours.Height(), 645);
  EXPECT_TRUE(ours == imaging::DecodeImageFile(reference, 0).bitmap);
}

TEST_F(RotateCommand, AutoTurnsAsTheCameraSaysAndResetsTheTag) {
  if (!haveTool("exiftool")) GTEST_SKIP() << "needs exiftool";
  const fs::path sideways = photos / "sideways.jpg", upright = photos / "upright.jpg";
  writeNoisyPhoto(sideways, 64, 48);
  addOrientation(sideways, 6);
  writeNoisyPhoto(upright, 64, 48);
  const std::string untouched = platform::readFile(upright);
  const ProgramResult result = runVistrel({"rotate", "auto", sideways.string(), upright.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, sideways.string() + "\n");
  EXPECT_NE(result.err.find(upright.string() + ": already upright"), std::string::npos) << result.err;
  const auto values = exiftoolValues(sideways.string(), {"Orientation", "ImageWidth", "ImageHeight"});
  EXPECT_EQ(values.at("Orientation"), "1");
  EXPECT_EQ(values.at("ImageWidth"), "48");
  EXPECT_EQ(values.at("ImageHeight"), "64");
  EXPECT_EQ(platform::readFile(upright), untouched);

  // --keep-orientation leaves the tag for viewers that read it.
  addOrientation(upright, 8);
  ASSERT_EQ(runVistrel({"rotate", "180", "--keep-orientation", upright.string()}).status, 0);
  EXPECT_EQ(exiftoolValues(upright.string(), {"Orientation"}).at("Orientation"), "8");
}

TEST_F(RotateCommand, CopiesFailuresAndMistakes) {
  const fs::path photo = photos / "a.jpg";
  writeNoisyPhoto(photo, 64, 48);
  const std::string original = platform::readFile(photo);
  const fs::path text = photos.write("notes.jpg", "not a picture");
  const ProgramResult result = runVistrel({"rotate", "270", "--copy", text.string(), photo.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("vistrel rotate: " + text.string() + ": Cannot transform the JPEG data"), std::string::npos)
      << result.err;
  EXPECT_EQ(result.out, (photos / "rot270_a.jpg").string() + "\n");
  EXPECT_EQ(platform::readFile(photo), original);

  // Named twice, a photo is turned once, whatever the number of workers.
  const ProgramResult twice = runVistrel({"rotate", "180", photo.string(), (photos / "." / "a.jpg").string()});
  EXPECT_EQ(twice.out, photo.string() + "\n");

  // Without a terminal an existing copy is kept and the command stops.
  platform::writeFileAtomically(photo, original);
  const ProgramResult again = runVistrel({"rotate", "270", "--copy", photo.string()});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("rot270_a.jpg exists; stopped"), std::string::npos) << again.err;

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"rotate", "45", photo.string()}, {"rotate", "90"}, {"rotate"}}) {
    EXPECT_EQ(runVistrel(wrong).status, 2);
  }
}

// Starts `vistrel rotate 90 FILE` and kills it after `delay`.
void rotateAndKill(const fs::path& file, std::chrono::microseconds delay) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
    ::execl(VISTREL_BINARY, VISTREL_BINARY, "rotate", "90", "--jobs", "1", file.c_str(), nullptr);
    ::_exit(127);
  }
  std::this_thread::sleep_for(delay);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
}

// Whenever the process dies, the photo is the old one or the whole new one.
TEST_F(RotateCommand, AKilledRotationLeavesThePhotoWholeOldOrNew) {
  const fs::path photo = photos / "big.jpg";
  writeNoisyPhoto(photo, 1600, 1200);
  const std::string original = platform::readFile(photo);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(runVistrel({"rotate", "90", photo.string()}).status, 0);
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
  const std::string turned = platform::readFile(photo);
  for (int step = 0; step <= 12; step += 2) {
    platform::writeFileAtomically(photo, original);
    rotateAndKill(photo, whole * step / 10);
    const std::string now = platform::readFile(photo);
    EXPECT_TRUE(now == original || now == turned) << "step " << step << ": " << now.size() << " bytes";
  }
  // What the killed runs left behind goes with the next run, once it has lain still for a minute.
  for (const fs::directory_entry& entry : fs::directory_iterator(photos.path())) {
    fs::last_write_time(entry.path(), fs::file_time_type::clock::now() - std::chrono::minutes(2));
  }
  ASSERT_EQ(runVistrel({"rotate", "90", photo.string()}).status, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(photos.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace vistrel::test
