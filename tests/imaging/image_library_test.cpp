#include "imaging/image_library.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "imaging/dib_transfer.h"
#include "imaging/image_file.h"
#include "picture_tools.h"
#include "platform/error.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

class ImageLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
    photo = folder / "photo.jpg";
    test::makeImage("-size 80x48 plasma:fractal -seed 4", photo);
  }
  void TearDown() override { library::SetLoadReduction(0); }

  vistrel::test::TempFolder folder;
  std::filesystem::path photo;
};

TEST_F(ImageLibrary, BufferHoldsAPictureUntilReleased) {
  const int buffer = library::NewBuffer();
  EXPECT_NE(library::NewBuffer(), buffer);
  EXPECT_FALSE(library::IsValid(buffer));
  ASSERT_TRUE(library::LoadFile(buffer, photo));
  EXPECT_EQ(library::Width(buffer), 80);
  EXPECT_EQ(library::Height(buffer), 48);
  EXPECT_EQ(library::BitsPerPixel(buffer), 24);
  EXPECT_EQ(library::ColourCount(buffer), 1 << 24);
  EXPECT_EQ(library::FileName(buffer), photo);
  library::LoadFile(buffer, "");
  EXPECT_FALSE(library::IsValid(buffer));
  EXPECT_EQ(library::Width(buffer), 0);
}

TEST_F(ImageLibrary, ColourCountAndAspect) {
  const auto grey = folder / "grey.jpg";
  test::makeImage("-size 8x8 gradient: -colorspace Gray", grey);
  const int buffer = library::NewBuffer();
  library::LoadFile(buffer, grey);
  EXPECT_EQ(library::ColourCount(buffer), 256);
  EXPECT_EQ(library::AspectX(buffer), 1);
  library::SetAspect(buffer, 4, 3);
  EXPECT_EQ(library::AspectX(buffer), 4);
  EXPECT_EQ(library::AspectY(buffer), 3);
  EXPECT_EQ(library::Width(buffer), 8);  // the picture stays
}

TEST_F(ImageLibrary, HeaderOnlyGivesSizesButNoPicture) {
  const int buffer = library::NewBuffer();
  EXPECT_TRUE(library::ReadHeader(buffer, photo));
  EXPECT_EQ(library::Width(buffer), 80);
  EXPECT_FALSE(library::IsValid(buffer));
  library::CloseBuffer(buffer);
  EXPECT_EQ(library::Width(buffer), 0);
}

TEST_F(ImageLibrary, ProcessWideReductionAppliesOnlyToLoadsWithoutTheirOwn) {
  const int buffer = library::NewBuffer();
  library::SetLoadReduction(2);
  library::LoadFile(buffer, photo);
  EXPECT_EQ(library::Width(buffer), 20);
  library::LoadFile(buffer, photo, 1);
  EXPECT_EQ(library::Width(buffer), 40);
  library::SetLoadReduction(9);  // out of range: the smallest the decoder gives
  EXPECT_EQ(library::LoadReduction(), 3);
}

TEST_F(ImageLibrary, ParallelLoadsKeepTheirOwnReduction) {
  // Each thread loads with its own reduction while the process-wide setting
  // keeps changing; no load may see another's size.
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int reduction = 0; reduction < 4; ++reduction) {
    threads.emplace_back([&, reduction] {
      const int buffer = library::NewBuffer();
      for (int i = 0; i < 10; ++i) {
        library::SetLoadReduction(3 - reduction);
        library::LoadFile(buffer, photo, reduction);
        if (library::Width(buffer) != (80 + (1 << reduction) - 1) >> reduction) ++wrong;
        if (LoadImageBitmap(photo, reduction).Width() != library::Width(buffer)) ++wrong;
      }
      library::CloseBuffer(buffer);
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong, 0);
}

TEST_F(ImageLibrary, LoadImageBitmapThroughABufferMatchesTheDirectLoad) {
  const int buffer = library::NewBuffer();
  const TBitmap viaBuffer = LoadImageBitmap(photo, buffer, 1);
  EXPECT_EQ(viaBuffer, LoadImageBitmap(photo, 1));
  EXPECT_FALSE(library::IsValid(buffer));  // released after painting
  EXPECT_TRUE(LoadImageBitmap(folder.write("bad.jpg", "nonsense"), buffer, 0).Empty());
}

TEST_F(ImageLibrary, PsdInCapitalsPassesThroughMemoryAsBmp) {
  const auto psd = folder / "LAYERS.PSD";
  test::makeImage("-size 30x20 plasma:fractal -seed 5 -depth 8", psd);
  const int buffer = library::NewBuffer();
  // A reduction is ignored for PSD files: they come as they are.
  const TBitmap bitmap = LoadImageBitmap(psd, buffer, 2);
  EXPECT_EQ(bitmap.Width(), 30);
  EXPECT_EQ(bitmap, DecodeImageFile(psd, 0).bitmap);
}

TEST_F(ImageLibrary, LoadFromMemoryTakesABmpImage) {
  const TBitmap picture = test::bitmapOf(2, 1, {255, 0, 0, 0, 0, 255});
  TFastDIB dib;
  BitmapToDib(picture, dib);
  std::ostringstream stream;
  dib.SaveToStream(stream);
  const std::string bytes = stream.str();
  const int buffer = library::NewBuffer();
  ASSERT_TRUE(library::LoadFromMemory(buffer, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
  TBitmap painted(2, 1);
  library::Paint(buffer, {0, 0, 2, 1}, painted, {0, 0, 2, 1});
  EXPECT_EQ(painted, picture);
}

TEST_F(ImageLibrary, PaintScalesIntoTheDestinationRectangle) {
  const auto file = folder / "flat.png";
  test::makeImage("-size 10x10 xc:'rgb(0,0,255)'", file);
  const int buffer = library::NewBuffer();
  library::LoadFile(buffer, file);
  TBitmap target(8, 8);
  library::Paint(buffer, {0, 0, 10, 10}, target, {2, 2, 4, 4});
  EXPECT_EQ(target.ScanLine(1)[3 * 1], 0);        // outside stays black
  EXPECT_EQ(target.ScanLine(3)[3 * 3], 255);      // inside is blue
  EXPECT_EQ(target.ScanLine(6)[3 * 6], 0);
  const TFastDIB rendered = library::Render24(buffer, 30, 20, {0, 0, 10, 10});
  EXPECT_EQ(rendered.Width, 30);
  EXPECT_EQ(rendered.BitCount, 24);
  EXPECT_EQ(rendered.Rows[5][0], 255);
}

TEST_F(ImageLibrary, SaveByExtension) {
  const int buffer = library::NewBuffer();
  library::LoadFile(buffer, photo);
  library::Save(buffer, folder / "copy.bmp");
  EXPECT_EQ(DecodeImageFile(folder / "copy.bmp", 0).bitmap, DecodeImageFile(photo, 0).bitmap);
  library::Save(buffer, folder / "copy.jpeg");
  EXPECT_EQ(ReadImageHeader(folder / "copy.jpeg").width, 80);
  EXPECT_THROW(library::Save(buffer, folder / "copy.xyz"), Error);
}

TEST_F(ImageLibrary, PagesOfATiff) {
  const auto file = folder / "pages.tif";
  test::run("convert -size 8x6 xc:red -size 5x4 xc:lime '" + file.string() + "'");
  const int buffer = library::NewBuffer();
  EXPECT_TRUE(library::LoadPage(buffer, file, 1));
  EXPECT_EQ(library::Width(buffer), 5);
}

}  // namespace
}  // namespace vistrel::imaging
