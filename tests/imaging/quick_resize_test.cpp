#include "imaging/quick_resize.h"

#include <gtest/gtest.h>

#include "imaging/image_file.h"
#include "picture_tools.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

namespace fs = std::filesystem;

ResizeSettings withPrefix(const std::string& prefix) {
  ResizeSettings s;
  s.usePrefix = true;
  s.prefix = prefix;
  return s;
}

ResizeSettings intoFolder(const fs::path& folder) {
  ResizeSettings s;
  s.outputFolder = folder.string();
  return s;
}

TEST(ResizeOutputName, NumbersAfterTheFirstPartOfTheName) {
  const fs::path out = "/pictures/out";
  struct Case {
    fs::path source;
    ResizeSettings settings;
    const char* names[3];
  };
  const Case cases[] = {
      {"/pictures/photo.jpg",
       withPrefix("convert_"),
       {"/pictures/convert_photo.jpg", "/pictures/convert_photo_1.jpg", "/pictures/convert_photo_2.jpg"}},
      {"/pictures/scan.old.tif",
       intoFolder(out),
       {"/pictures/out/scan.old.jpg", "/pictures/out/scan_1.jpg", "/pictures/out/scan_2.jpg"}},
      {"/pictures/README",
       intoFolder(out),
       {"/pictures/out/README.jpg", "/pictures/out/README_1.jpg", "/pictures/out/README_2.jpg"}},
  };
  for (const Case& c : cases) {
    for (int number = 0; number < 3; ++number)
      EXPECT_EQ(resizeOutputName(c.source, c.settings, number), c.names[number]);
  }
}

TEST(ResizeSettingsStore, ReadingStopsAtTheFirstMissingValue) {
  vistrel::test::TempFolder folder;
  platform::SettingsStore store(folder / "settings.reg");
  ResizeSettings written{800, true, 5, 60, true, true, "/tmp/small", "mail_"};
  writeResizeSettings(store, written);
  ResizeSettings read;
  readResizeSettings(store, read);
  EXPECT_EQ(read, written);

  store.openKey(kResizeKey, false)->deleteValue("ProgJpeg");
  ResizeSettings partly;
  readResizeSettings(store, partly);
  EXPECT_EQ(partly.quality, 60);
  EXPECT_FALSE(partly.progressive);
  EXPECT_FALSE(partly.usePrefix);
  EXPECT_EQ(partly.prefix, "convert_");
}

class QuickResize : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("convert")) GTEST_SKIP() << "needs ImageMagick";
  }
  fs::path picture(const std::string& name, const std::string& size) {
    const fs::path file = folder / name;
    test::makeImage("-size " + size + " xc:olive", file);
    return file;
  }
  vistrel::test::TempFolder folder;
};

TEST_F(QuickResize, TheLongerSideTakesTheNewSizeAndSmallPicturesAreEnlarged) {
  struct Case {
    const char* name;
    const char* size;
    int width, height;
  };
  const Case cases[] = {{"wide.jpg", "3000x2000", 400, 267},
                        {"tall.png", "2000x3000", 267, 400},
                        {"square.bmp", "1000x1000", 400, 400},
                        {"small.gif", "200x100", 400, 200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string jpeg = ResizedJpeg(picture(c.name, c.size), {});
    const ImageHeader header =
        ReadImageHeader(std::span(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size()), "out.jpg");
    EXPECT_EQ(header.width, c.width);
    EXPECT_EQ(header.height, c.height);
  }
}

TEST_F(QuickResize, TheBatchSkipsWhatItCannotReadSaysWhyAndKeepsGoing) {
  const fs::path good = picture("good.jpg", "300x200"), text = folder.write("notes.jpg", "not a picture");
  const std::string whole = platform::readFile(good);
  const fs::path cut = folder.write("cut.jpg", whole.substr(0, whole.size() / 2));
  const fs::path out = folder / "small" / "mail";
  for (const unsigned workers : {1u, 2u}) {
    std::vector<ResizedFile> reports;
    ResizeImageFiles({text, good, cut, good}, intoFolder(out), workers,
                     {nullptr, [&](const ResizedFile& f) { reports.push_back(f); }});
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_NE(reports[0].skipped.find("not a picture"), std::string::npos) << reports[0].skipped;
    EXPECT_TRUE(reports[0].output.empty());
    EXPECT_NE(reports[2].skipped.find("Cannot read the JPEG file"), std::string::npos) << reports[2].skipped;
    EXPECT_TRUE(reports[1].skipped.empty());
    EXPECT_TRUE(fs::exists(reports[1].output));
    EXPECT_EQ(reports[3].output.filename().string().rfind("good_", 0), 0u) << reports[3].output;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4);
}

TEST_F(QuickResize, AnOutputFolderThatCannotBeMadeStopsTheBatchFirst) {
  folder.write("blocker", "a file where the folder should be");
  const fs::path good = picture("good.jpg", "30x20");
  for (const std::string& bad : {(folder / "blocker" / "out").string(), std::string()}) {
    EXPECT_THROW(ResizeImageFiles({good}, intoFolder(bad), 1, {nullptr, [](const ResizedFile&) { FAIL(); }}), Error);
  }
  try {
    prepareResizeFolder(intoFolder(folder / "blocker" / "out"));
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create " + (folder / "blocker" / "out").string());
  }
}

}  // namespace
}  // namespace vistrel::imaging
