#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "gallery/imaging_codec.h"
#include "gallery/image_pipeline.h"
#include "gallery/file_metadata.h"
#include "gallery/overlay_text.h"
#include "imaging/exif_block.h"
#include "page_fixture.h"
#include "platform/files.h"

namespace vistrel::gallery {
namespace {

struct SizeCase {
  ImageSize original;
  int reduction;
  int limit;
  ImageSize expected;
};

class OutputSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(OutputSizeTest, FollowsTheSizeRule) {
  const SizeCase& c = GetParam();
  EXPECT_EQ(chooseReduction(c.original.width, c.limit), c.reduction);
  // The library delivers ceil(size / 2^reduction).
  const int step = 1 << c.reduction;
  const ImageSize loaded{(c.original.width + step - 1) / step, (c.original.height + step - 1) / step};
  EXPECT_EQ(outputSize(c.original, loaded, c.limit), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputSizeTest,
    ::testing::Values(SizeCase{{3000, 2000}, 2, 150, {150, 100}},  // 1/4: above 8·L, not above 32·L
                      SizeCase{{100, 80}, 0, 150, {100, 80}},      // never enlarged
                      SizeCase{{400, 400}, 1, 150, {150, 150}},
                      SizeCase{{1000, 1500}, 0, 600, {400, 600}},
                      SizeCase{{150, 75}, 0, 150, {150, 75}},     // exactly L wide
                      SizeCase{{6000, 4000}, 3, 150, {150, 100}},
                      SizeCase{{301, 201}, 1, 150, {150, 100}},   // 151 × 101 loaded: ratio of the load
                      SizeCase{{100, 300}, 0, 150, {50, 150}},    // narrow but tall: height rules
                      SizeCase{{300, 5}, 0, 600, {300, 5}}));

TEST(ImagePipeline, RoundingGoesToTheEvenNeighbour) {
  // 150 · 1 / 4 = 37.5 → 38; 150 · 3 / 4 = 112.5 → 112.
  EXPECT_EQ(outputSize({400, 100}, {400, 100}, 150), (ImageSize{150, 38}));
  EXPECT_EQ(outputSize({400, 300}, {400, 300}, 150), (ImageSize{150, 112}));
  EXPECT_EQ(outputSize({0, 0}, {0, 0}, 150), (ImageSize{150, 0}));
}

TEST(ImagePipeline, BorderAddsItsWidthOnEverySide) {
  RgbImage image(100, 80);
  const RgbImage framed = addBorder(image, 10, 0x00FF0000);  // blue as 0x00BBGGRR
  EXPECT_EQ(framed.width, 120);
  EXPECT_EQ(framed.height, 100);
  EXPECT_EQ(framed.at(0, 0)[2], 255);
  EXPECT_EQ(framed.at(0, 0)[0], 0);
  EXPECT_EQ(framed.at(10, 10)[2], 0);
  EXPECT_EQ(framed.at(119, 99)[2], 255);
}

TEST(ImagePipeline, FrameRingsTakeTheirRolesAtTheCorners) {
  RgbImage image(12, 10);
  const FrameColors colors{0x000001, 0x000002, 0x000003, 0x000004};
  draw3DFrame(image, colors);
  const auto red = [&](int x, int y) { return image.at(x, y)[0]; };
  EXPECT_EQ(red(0, 0), 1);  // light: top and left
  EXPECT_EQ(red(5, 0), 1);
  EXPECT_EQ(red(0, 5), 1);
  EXPECT_EQ(red(11, 0), 2);  // the top right corner belongs to the dark edge
  EXPECT_EQ(red(0, 9), 2);   // and so does the bottom left one
  EXPECT_EQ(red(11, 9), 2);
  EXPECT_EQ(red(1, 1), 1);  // second ring of the outer frame
  EXPECT_EQ(red(10, 8), 2);
  EXPECT_EQ(red(2, 2), 3);  // inner frame: highlight and shadow
  EXPECT_EQ(red(9, 7), 4);
  EXPECT_EQ(red(3, 4), 3);
  EXPECT_EQ(red(3, 6), 4);
  EXPECT_EQ(red(5, 5), 0);  // the inside stays
}

TEST(ImagePipeline, OverlayPositions) {
  // 150 × 100 picture, text 61 wide and 19 high.
  const auto at = [](TextPosition p, bool center) { return placeOverlay(p, center, 150, 100, 61, 19); };
  EXPECT_EQ(at(TextPosition::TextBottom, false).x, 2);
  EXPECT_EQ(at(TextPosition::TextBottom, false).y, 81);
  EXPECT_EQ(at(TextPosition::TextBottom, true).x, 75 - 30);
  EXPECT_EQ(at(TextPosition::TextTop, false).y, 2);
  EXPECT_EQ(at(TextPosition::TextTop, true).x, 45);
  const TextPlacement left = at(TextPosition::TextLeft, true);
  EXPECT_TRUE(left.rotated);
  EXPECT_EQ(left.x, 19);
  EXPECT_EQ(left.y, 50 - 30);
  const TextPlacement right = at(TextPosition::TextRight, false);
  EXPECT_EQ(right.x, 150);
  EXPECT_EQ(right.y, 2);
}

TEST(ImagePipeline, OutputNamesFollowTheKindAndFolders) {
  GallerySettings s;
  s.TargetFolder = "/web";
  EXPECT_EQ(outputPath(s, fs::path("/p/scan.tif"), OutputKind::Thumbnail), "/web/thumb_scan.jpg");
  s.UseSubfolders = true;
  EXPECT_EQ(outputPath(s, fs::path("/p/IMG_0012.JPG"), OutputKind::Thumbnail), "/web/thumbnails/thumb_IMG_0012.jpg");
  EXPECT_EQ(outputPath(s, fs::path("/p/IMG_0012.JPG"), OutputKind::Medium), "/web/images/medium_IMG_0012.jpg");
}

// Records the reductions the pipeline asks for.
class CountingCodec : public ImagingCodec {
 public:
  std::vector<int> reductions;
  RgbImage load(const std::filesystem::path& file, int reduction) override {
    reductions.push_back(reduction);
    return ImagingCodec::load(file, reduction);
  }
};

struct ProcessImageTest : PageFixture {
  CountingCodec codec;
  std::filesystem::path photo(const std::string& name, int w, int h) {
    RgbImage image(w, h);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i * 7);
    return folder.write("src/" + name, codec.encodeJpeg(image, 90));
  }
  bool process(const std::filesystem::path& source, OutputKind kind, bool always = false) {
    OverwriteGuard guard(prompter, always);
    return processImage(context(guard), codec, source, kind);
  }
  ImageSize written(const std::string& name) { return codec.headerSize(folder / "web" / name); }
};

TEST_F(ProcessImageTest, LargePhotoIsLoadedReducedAndScaled) {
  const auto source = photo("big.jpg", 3000, 2000);
  EXPECT_TRUE(process(source, OutputKind::Thumbnail));
  EXPECT_EQ(codec.reductions, std::vector<int>{2});
  EXPECT_EQ(written("thumb_big.jpg"), (ImageSize{150, 100}));
}

TEST_F(ProcessImageTest, BorderOverlayAndFrameOnASmallPicture) {
  settings.InclBorder = true;
  settings.Border3D = true;
  settings.UseOverlayText = true;
  settings.textPosition = TextPosition::TextLeft;
  const auto source = photo("small.jpg", 100, 80);
  EXPECT_TRUE(process(source, OutputKind::Thumbnail));
  EXPECT_EQ(written("thumb_small.jpg"), (ImageSize{120, 100}));
}

TEST_F(ProcessImageTest, PortraitMediumAndOverlayWithExifCopy) {
  settings.CopyExif = true;
  settings.UseMediumOverlay = true;
  const auto source = photo("tall.jpg", 1000, 1500);
  meta.exifs["tall.jpg"] = {};
  EXPECT_TRUE(process(source, OutputKind::Medium));
  EXPECT_EQ(written("medium_tall.jpg"), (ImageSize{400, 600}));
  EXPECT_NE(platform::readFile(folder / "web/medium_tall.jpg").find("+exif"), std::string::npos);
  // Only the exact ".jpg" extension gets the copy.
  const auto other = photo("other.jpeg", 100, 100);
  meta.exifs["other.jpeg"] = {};
  EXPECT_TRUE(process(other, OutputKind::Medium));
  EXPECT_EQ(platform::readFile(folder / "web/medium_other.jpg").find("+exif"), std::string::npos);
}

TEST_F(ProcessImageTest, PhotosAreMadeTheWayTheCameraWasHeldWhenAsked) {
  const auto source = photo("held.jpg", 400, 300);
  const struct {
    int orientation;
    bool upright;
    ImageSize expected;
  } cases[] = {{6, true, {112, 150}}, {8, true, {112, 150}}, {5, true, {112, 150}},
               {3, true, {150, 112}}, {6, false, {150, 112}}, {1, true, {150, 112}}};
  for (const auto& c : cases) {
    meta.orientations["held.jpg"] = c.orientation;
    settings.TurnUpright = c.upright;
    EXPECT_TRUE(process(source, OutputKind::Thumbnail, true));
    EXPECT_EQ(written("thumb_held.jpg"), c.expected) << c.orientation << (c.upright ? " upright" : " as stored");
  }
}

// What a shell command prints on standard output.
std::string outputOf(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

// What ImageMagick's compare says of two pictures: the normalised RMSE.
double differenceOf(const fs::path& ours, const fs::path& theirs) {
  const std::string out =
      outputOf("compare -metric RMSE '" + ours.string() + "' '" + theirs.string() + "' null: 2>&1");
  const auto open = out.find('(');
  return open == std::string::npos ? 1.0 : std::atof(out.c_str() + open + 1);
}

TEST_F(ProcessImageTest, UprightPixelsMatchAnIndependentAutoOrient) {
  if (std::system("convert -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
  // Four coloured quarters: any turn or mirror moves at least two of them.
  const fs::path source = folder / "quarters.jpg";
  const std::string make = "convert -size 160x120 xc:red xc:lime +append \\( -size 160x120 xc:blue xc:white "
                           "+append \\) -append -quality 95 '" + source.string() + "'";
  ASSERT_EQ(std::system(make.c_str()), 0);
  const char* names[] = {"TopLeft", "TopRight", "BottomRight", "BottomLeft",
                         "LeftTop", "RightTop", "RightBottom", "LeftBottom"};
  settings.TurnUpright = true;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    meta.orientations["quarters.jpg"] = orientation;
    ASSERT_TRUE(process(source, OutputKind::Thumbnail, true));
    const ImageSize size = written("thumb_quarters.jpg");
    const fs::path reference = folder / "reference.png";
    const std::string turn = "convert '" + source.string() + "' -orient " + names[orientation - 1] +
                             " -auto-orient -resize " + std::to_string(size.width) + "x" +
                             std::to_string(size.height) + "! '" + reference.string() + "'";
    ASSERT_EQ(std::system(turn.c_str()), 0);
    EXPECT_LT(differenceOf(folder / "web/thumb_quarters.jpg", reference), 0.08) << "orientation " << orientation;
  }
}

TEST_F(ProcessImageTest, OverwriteAnswersAndCancel) {
  const auto source = photo("a.jpg", 200, 100);
  ASSERT_TRUE(process(source, OutputKind::Thumbnail));
  platform::writeFileAtomically(folder / "web/thumb_a.jpg", "keep");
  prompter.expect("thumb_a.jpg already exists.\rDo you want to replace it?", platform::Answer::No);
  EXPECT_FALSE(process(source, OutputKind::Thumbnail));
  EXPECT_EQ(platform::readFile(folder / "web/thumb_a.jpg"), "keep");
  EXPECT_TRUE(process(source, OutputKind::Thumbnail, true));
  cancel = true;
  EXPECT_FALSE(process(source, OutputKind::Medium));
  EXPECT_FALSE(std::filesystem::exists(folder / "web/medium_a.jpg"));
}

TEST_F(ProcessImageTest, AFileWithoutAPictureWritesNothing) {
  const auto source = folder.write("src/text.jpg", "not a picture");
  EXPECT_THROW(process(source, OutputKind::Thumbnail), Error);
  EXPECT_FALSE(std::filesystem::exists(folder / "web/thumb_text.jpg"));
}

}  // namespace
}  // namespace vistrel::gallery

namespace vistrel::gallery {
namespace {

// The box of the pixels a drawing changed on a black picture.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box inkOf(const RgbImage& image) {
  Box box;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.at(x, y)[0] == 0) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    }
  }
  return box;
}

TEST(OverlayFont, TahomaFallsBackAndRotatedTextRunsDownTheEdge) {
  OverlayFont font("Tahoma", 12);
  const int width = font.textWidth("Vistrel"), height = font.lineHeight();
  EXPECT_GT(width, 20);
  EXPECT_GT(height, 10);
  RgbImage picture(150, 100);
  TextPlacement at = placeOverlay(TextPosition::TextLeft, false, 150, 100, width, height);
  font.draw(picture, "Vistrel", at.x, at.y, at.rotated, 0xFFFFFF);
  Box ink = inkOf(picture);
  EXPECT_GE(ink.left, 0);
  EXPECT_LT(ink.right, height);  // a band along the left edge
  EXPECT_GE(ink.top, 2);
  EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left);  // taller than wide: it runs downwards

  RgbImage bottom(150, 100);
  at = placeOverlay(TextPosition::TextBottom, true, 150, 100, width, height);
  font.draw(bottom, "Vistrel", at.x, at.y, at.rotated, 0xFFFFFF);
  ink = inkOf(bottom);
  EXPECT_GE(ink.top, 100 - height);
  EXPECT_NEAR((ink.left + ink.right) / 2, 75, 4);
}

}  // namespace
}  // namespace vistrel::gallery

namespace vistrel::gallery {
namespace {

TEST_F(ProcessImageTest, ExifOfTheSourceGoesIntoTheOutput) {
  if (std::system("exiftool -ver > /dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
  const auto source = photo("cam.jpg", 800, 600);
  const std::string command = "exiftool -q -overwrite_original -EXIF:Model=TestCam -EXIF:Orientation#=6 "
                              "-EXIF:DateTimeOriginal='2024:01:02 03:04:05' '" + source.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  settings.CopyExif = true;
  FileMetadata files;
  OverwriteGuard guard(prompter, false);
  RunContext run{settings, options, guard, cancel, observer, files, folder / "data", outputs};
  ASSERT_TRUE(processImage(run, codec, source, OutputKind::Thumbnail));
  const auto exif = files.exif(folder / "web/thumb_cam.jpg");
  ASSERT_TRUE(exif.has_value());
  EXPECT_EQ(exif->date, "2024:01:02 03:04:05");
  EXPECT_NE(exif->camera.find("TestCam"), std::string::npos);
  // Held upright (Orientation 6): 800 × 600 stored, 112 × 150 shown (112.5 goes to the even neighbour).
  EXPECT_EQ(written("thumb_cam.jpg"), (ImageSize{112, 150}));
  // Turned or not, the copy must not tell a browser to turn the pixels again.
  const std::string output = platform::readFile(folder / "web/thumb_cam.jpg");
  ASSERT_EQ(output.substr(2, 2), "\xFF\xE1");
  EXPECT_EQ(imaging::exifOrientation({reinterpret_cast<const std::uint8_t*>(output.data()) + 6, output.size() - 6}), 1);
}

std::string exiftoolSays(const fs::path& file) {
  const std::string command = "exiftool -q -q -s -n -Model -GPSLatitude -GPSLongitude -SerialNumber "
                              "-LensSerialNumber -Warning '" + file.string() + "'";
  return outputOf(command);
}

TEST_F(ProcessImageTest, LocationAndSerialNumbersStayOutOfTheCopyWhenAsked) {
  if (std::system("exiftool -ver > /dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
  const auto source = photo("gps.jpg", 400, 300);
  const std::string command = "exiftool -q -overwrite_original -EXIF:Model=TestCam -GPSLatitude=59.91 "
                              "-GPSLatitudeRef=N -GPSLongitude=10.75 -GPSLongitudeRef=E -SerialNumber=B123 "
                              "-LensSerialNumber=L456 '" + source.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  settings.CopyExif = true;
  FileMetadata files;
  OverwriteGuard guard(prompter, true);
  RunContext run{settings, options, guard, cancel, observer, files, folder / "data", outputs};
  for (const bool remove : {false, true}) {
    settings.RemovePrivateExif = remove;
    ASSERT_TRUE(processImage(run, codec, source, OutputKind::Thumbnail));
    const std::string said = exiftoolSays(folder / "web/thumb_gps.jpg");
    EXPECT_NE(said.find("Model                           : TestCam"), std::string::npos) << said;
    EXPECT_EQ(said.find("Warning"), std::string::npos) << said;
    for (const char* secret : {"59.91", "10.75", "B123", "L456"}) {
      EXPECT_EQ(said.find(secret) == std::string::npos, remove) << secret << (remove ? " left in\n" : " lost\n") << said;
    }
  }
}

}  // namespace
}  // namespace vistrel::gallery
