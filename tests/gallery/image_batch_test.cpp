#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "gallery/gallery_run.h"
#include "gallery/imaging_codec.h"
#include "gallery/shared_decode.h"
#include "imaging/dib_filters.h"
#include "imaging/dib_transfer.h"
#include "page_fixture.h"
#include "platform/output_manifest.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

// Cancels when a chosen image starts; counts how often the progress closes.
struct CancellingObserver : RunObserver {
  std::atomic<bool>* cancel = nullptr;
  int cancelAt = 0;
  std::vector<std::string> events;
  void progress(int position, int, const fs::path& source) override {
    events.push_back(source.filename().string());
    if (cancel && position == cancelAt) *cancel = true;
  }
  void closeProgress() override { events.push_back("close"); }
};

// Every file below a folder, by relative path, with its bytes; the output
// manifest with its list of files (its records hold time stamps).
std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    if (entry.path().filename() == platform::kOutputManifestName) {
      for (const std::string& listed : platform::readOutputManifest(root)) files[".vistrel-outputs"] += listed + "\n";
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[fs::relative(entry.path(), root).string()] = bytes.str();
  }
  return files;
}

struct ImageBatchTest : PageFixture {
  ImagingCodec codec;
  CancellingObserver recorder;
  std::vector<fs::path> photos;

  ImageBatchTest() {
    std::mt19937 noise(7);
    const ImageSize sizes[] = {{1300, 900}, {700, 1000}, {640, 480}, {1500, 1100}, {120, 90}, {900, 900}};
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
      RgbImage image(sizes[i].width, sizes[i].height);
      for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
          std::uint8_t* p = image.at(x, y);
          p[0] = static_cast<std::uint8_t>(x * 255 / image.width);
          p[1] = static_cast<std::uint8_t>((y + noise() % 40) & 0xFF);
          p[2] = static_cast<std::uint8_t>(noise() & 0xFF);
        }
      }
      photos.push_back(folder.write("src/p" + std::to_string(i) + ".jpg", codec.encodeJpeg(image, 90)));
    }
    photos.insert(photos.begin() + 2, folder.write("src/broken.jpg", "not a picture"));
    settings.Maxsize = 150;
    settings.MediumSize = 600;
    settings.InclBorder = true;
    settings.Sharpen = true;
    settings.CopyExif = true;
    meta.exifs["p1.jpg"] = {};
  }

  RunResult run(unsigned jobs) {
    return runGallery(settings, options, photos, CandidateSource::TaggedFiles, cancel,
                      {prompter, recorder, meta, codec, folder / "data", jobs});
  }

  // The folder a run with `jobs` workers leaves, after `before` ran on a fresh folder.
  std::map<std::string, std::string> galleryAfter(unsigned jobs, const std::function<void()>& before = {}) {
    fs::remove_all(folder / "web");
    cancel = false;
    if (before) before();
    cancel = false;
    recorder.events.clear();
    run(jobs);
    return snapshot(folder / "web");
  }
};

TEST_F(ImageBatchTest, OneAndTwoJobsWriteTheSameGallery) {
  const auto one = galleryAfter(1);
  EXPECT_TRUE(one.count("thumb_p3.jpg") && one.count("medium_p3.jpg") && one.count("index.html"));
  EXPECT_EQ(one.at("medium_p1.jpg").substr(one.at("medium_p1.jpg").size() - 5), "+exif");
  const auto events = recorder.events;
  EXPECT_EQ(galleryAfter(2), one);
  EXPECT_EQ(galleryAfter(4), one);
  EXPECT_EQ(recorder.events, events);
}

TEST_F(ImageBatchTest, QuestionsComeInListOrderAndAllHoldsFromWhereItWasAnswered) {
  // The second run makes different files, so every kept file shows.
  const auto firstRun = [&] {
    run(1);
    settings.JpegCompLevel = 40;
  };
  const auto script = [&] {
    prompter.expect("thumb_p0.jpg already exists", Answer::No);
    prompter.expect("medium_p0.jpg already exists", Answer::Yes);
    prompter.expect("thumb_p1.jpg already exists", Answer::No);
    prompter.expect("medium_p1.jpg already exists", Answer::All);
  };
  settings.JpegCompLevel = 90;
  script();
  const auto one = galleryAfter(1, firstRun);
  const auto askedOne = prompter.asked();
  settings.JpegCompLevel = 90;
  script();
  const auto two = galleryAfter(2, firstRun);
  EXPECT_EQ(two, one);
  ASSERT_EQ(prompter.asked().size(), 2 * askedOne.size());
  EXPECT_TRUE(std::equal(askedOne.begin(), askedOne.end(), prompter.asked().begin() + askedOne.size()));
  settings.JpegCompLevel = 40;
  EXPECT_NE(one.at("thumb_p0.jpg"), galleryAfter(1).at("thumb_p0.jpg"));
}

TEST_F(ImageBatchTest, CancelStopsAtTheSameImageWithAnyNumberOfJobs) {
  recorder.cancel = &cancel;
  recorder.cancelAt = 3;
  const auto one = galleryAfter(1);
  const auto events = recorder.events;
  EXPECT_TRUE(one.count("medium_p1.jpg"));
  EXPECT_FALSE(one.count("thumb_p2.jpg"));
  EXPECT_FALSE(one.count("index.html"));
  EXPECT_EQ(galleryAfter(2), one);
  EXPECT_EQ(recorder.events, events);
}

// Counts the decodes that reach the real codec.
struct CountingCodec : ImagingCodec {
  int loads = 0;
  RgbImage load(const fs::path& file, int reduction) override {
    ++loads;
    return ImagingCodec::load(file, reduction);
  }
};

TEST_F(ImageBatchTest, EachPhotoIsDecodedOnceAndReducedFurtherByAveraging) {
  CountingCodec counting;
  const fs::path photo = photos[4];  // 1500 × 1100: thumbnail at 1/4, medium at 1/2
  SharedDecode shared(counting, photo, {150, 600});
  const RgbImage half = shared.load(photo, 1), quarter = shared.load(photo, 2);
  EXPECT_EQ(counting.loads, 1);
  EXPECT_EQ(half.pixels, codec.load(photo, 1).pixels);
  const RgbImage decoded = codec.load(photo, 2);
  ASSERT_EQ((ImageSize{quarter.width, quarter.height}), (ImageSize{decoded.width, decoded.height}));
  long difference = 0;
  for (std::size_t i = 0; i < quarter.pixels.size(); ++i) difference += std::abs(quarter.pixels[i] - decoded.pixels[i]);
  EXPECT_LT(static_cast<double>(difference) / static_cast<double>(quarter.pixels.size()), 3.0);
  EXPECT_EQ(shared.headerSize(photo), (ImageSize{1500, 1100}));

  // In the run's order the medium image, the last output, takes the decoded
  // picture itself; asking once more decodes again rather than giving the
  // picture away twice.
  counting.loads = 0;
  SharedDecode runOrder(counting, photo, {150, 600});
  EXPECT_EQ(runOrder.load(photo, 2).pixels, quarter.pixels);
  EXPECT_EQ(runOrder.load(photo, 1).pixels, half.pixels);
  EXPECT_EQ(runOrder.load(photo, 1).pixels, half.pixels);
  EXPECT_EQ(counting.loads, 2);

  counting.loads = 0;
  runGallery(settings, options, photos, CandidateSource::TaggedFiles, cancel,
             {prompter, recorder, meta, counting, folder / "data", 1});
  EXPECT_EQ(counting.loads, 6);
}

TEST(HalvePictureTest, AveragesBlocksAndKeepsAnOddEdge) {
  RgbImage picture(3, 3);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i * 9);
  const RgbImage half = halvePicture(picture);
  ASSERT_EQ(half.width, 2);
  ASSERT_EQ(half.height, 2);
  EXPECT_EQ(half.at(0, 0)[0], (0 + 27 + 81 + 108 + 2) / 4);
  EXPECT_EQ(half.at(1, 0)[0], (54 + 135 + 1) / 2);
  EXPECT_EQ(half.at(0, 1)[0], (162 + 189 + 1) / 2);
  EXPECT_EQ(half.at(1, 1)[0], 216);
}

// The codec filters its red-first pictures in place; that must be exactly
// the bottom-up blue-first buffer the filters were made for, odd widths (padded
// buffer rows) and every step included.
TEST(ImagingCodecTest, ScaleAndFilterGivesTheBufferPathsPixels) {
  const int width = 203, height = 151, toWidth = 77, toHeight = 57;
  RgbImage source(width, height);
  std::mt19937 random(3);
  for (auto& byte : source.pixels) byte = static_cast<std::uint8_t>(random() & 0xFF);
  for (const FilterSteps steps : {FilterSteps{}, FilterSteps{true, 2, 30, -25}, FilterSteps{false, 1, -140, 0},
                                  FilterSteps{false, std::nullopt, 0, 90}}) {
    imaging::TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) std::reverse_copy(source.at(x, y), source.at(x, y) + 3, bitmap.ScanLine(y) + 3 * x);
    }
    imaging::TFastDIB from, to;
    imaging::BitmapToDib(bitmap, from);
    to.SetSize(toWidth, toHeight, 24);
    imaging::ResampleBilinear(from, to);
    if (steps.invert) imaging::InvertPixels(to);
    if (steps.sharpen) imaging::SharpenCross(to, *steps.sharpen);
    if (steps.contrast != 0) imaging::Contrast(to, steps.contrast, steps.contrast, steps.contrast);
    if (steps.brightness != 0) imaging::Brightness(to, steps.brightness, steps.brightness, steps.brightness);
    imaging::TBitmap expected;
    imaging::DibToBitmap(to, expected);

    const RgbImage scaled = ImagingCodec().scaleAndFilter(source, toWidth, toHeight, steps);
    ASSERT_EQ(scaled.width, toWidth);
    ASSERT_EQ(scaled.height, toHeight);
    EXPECT_EQ(scaled.pixels, imaging::toRgbPicture(expected).pixels);
  }
}

}  // namespace
}  // namespace vistrel::gallery
