#include <gtest/gtest.h>

#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/pixel_limits.h"
#include "picture_tools.h"
#include "platform/error.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

using test::maxDifference;
using test::referencePixels;

class Jpeg : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
  }
  vistrel::test::TempFolder folder;
};

TEST_F(Jpeg, DecodesLikeImageMagick) {
  const auto file = folder / "photo.jpg";
  test::makeImage("-size 67x45 plasma:fractal -seed 3 -quality 90", file);
  const DecodedImage image = DecodeImageFile(file, 0);
  EXPECT_EQ(image.bitsPerPixel, 24);
  EXPECT_LE(maxDifference(image.bitmap, referencePixels(file, 67, 45)), 2);
}

TEST_F(Jpeg, GreyscaleAndCmykFilesBecomeColourBitmaps) {
  const auto grey = folder / "grey.jpg";
  test::makeImage("-size 20x10 gradient:black-white -colorspace Gray", grey);
  const DecodedImage image = DecodeImageFile(grey, 0);
  EXPECT_EQ(image.bitsPerPixel, 8);
  EXPECT_LE(maxDifference(image.bitmap, referencePixels(grey, 20, 10)), 2);

  const auto cmyk = folder / "cmyk.jpg";
  test::makeImage("-size 16x16 xc:'rgb(200,40,90)' -colorspace CMYK -quality 100", cmyk);
  const TBitmap colour = DecodeImageFile(cmyk, 0).bitmap;
  EXPECT_NEAR(colour.ScanLine(8)[2], 200, 6);
  EXPECT_NEAR(colour.ScanLine(8)[1], 40, 6);
  EXPECT_NEAR(colour.ScanLine(8)[0], 90, 6);
}

TEST_F(Jpeg, ReductionScalesWhileDecodingRoundingUp) {
  const auto file = folder / "photo.jpg";
  test::makeImage("-size 101x75 gradient:red-blue", file);
  const int expected[][2] = {{101, 75}, {51, 38}, {26, 19}, {13, 10}};
  for (int reduction = 0; reduction <= 3; ++reduction) {
    const TBitmap bitmap = DecodeImageFile(file, reduction).bitmap;
    EXPECT_EQ(bitmap.Width(), expected[reduction][0]) << reduction;
    EXPECT_EQ(bitmap.Height(), expected[reduction][1]) << reduction;
  }
  const ImageHeader header = ReadImageHeader(file);
  EXPECT_EQ(header.width, 101);
  EXPECT_EQ(header.height, 75);
}

TEST_F(Jpeg, LargePhotoAtReductionThreeNeverTakesFullSizeMemory) {
  // 6000 x 4000 pixels are 72 MB at 24 bits. With the limit at 8 MB the full
  // decode is refused, while the reduced load, which never builds the full
  // picture (libjpeg's own memory counts against the limit too), succeeds.
  const auto file = folder / "big.jpg";
  test::makeImage("-size 6000x4000 xc:'rgb(10,120,230)' -quality 70", file);
  const std::size_t saved = pixelMemoryLimit();
  setPixelMemoryLimit(8 << 20);
  const TBitmap small = LoadImageBitmap(file, 3);
  EXPECT_THROW(DecodeImageFile(file, 0), Error);
  setPixelMemoryLimit(saved);
  EXPECT_EQ(small.Width(), 750);
  EXPECT_EQ(small.Height(), 500);
  EXPECT_NEAR(small.ScanLine(250)[0], 230, 3);
}

TEST_F(Jpeg, EncoderRoundTripsWithinQuality) {
  const auto source = folder / "source.png";
  test::makeImage("-size 60x40 gradient:yellow-navy", source);
  const TBitmap original = DecodeImageFile(source, 0).bitmap;
  const auto file = folder / "out.jpg";
  SaveBitmapAsJpeg(file, original);
  EXPECT_EQ(test::run("identify -format '%wx%h %Q %[interlace]' '" + file.string() + "'"), "60x40 80 None");
  EXPECT_LE(maxDifference(DecodeImageFile(file, 0).bitmap, original), 12);
  EXPECT_LE(maxDifference(referencePixels(file, 60, 40), original), 12);

  SaveBitmapAsJpeg(file, original, 95, true);
  EXPECT_EQ(test::run("identify -format '%Q %[interlace]' '" + file.string() + "'"), "95 JPEG");
  EXPECT_LE(maxDifference(DecodeImageFile(file, 0).bitmap, original), 8);
}

TEST_F(Jpeg, EncodingAnEmptyBitmapFailsAndKeepsTheOldFile) {
  const auto file = folder.write("keep.jpg", "old");
  EXPECT_THROW(SaveBitmapAsJpeg(file, TBitmap()), Error);
  EXPECT_EQ(test::readBytes(file).size(), 3u);
}

// Red-first decoding and encoding skip the blue-first bitmap; they must give
// exactly its pixels and its file bytes, for every kind of JPEG and reduction.
TEST_F(Jpeg, RedFirstAndScreenPicturesAreTheBitmapsPixels) {
  const auto colour = folder / "colour.jpg", grey = folder / "grey.jpg", cmyk = folder / "cmyk.jpg";
  test::makeImage("-size 203x117 plasma:fractal -seed 5 -quality 90", colour);
  test::makeImage("-size 77x51 plasma:fractal -seed 6 -colorspace Gray", grey);
  test::makeImage("-size 45x33 plasma:fractal -seed 7 -colorspace CMYK", cmyk);
  const auto png = folder / "other.png";
  test::makeImage("-size 31x9 gradient:red-blue", png);
  for (const auto& file : {colour, grey, cmyk, png}) {
    for (int reduction = 0; reduction <= 3; ++reduction) {
      const TBitmap bitmap = DecodeImageFile(file, reduction).bitmap;
      const RgbPicture picture = DecodeImageFileRgb(file, reduction);
      ASSERT_EQ(picture.pixels, toRgbPicture(bitmap).pixels) << file << " at reduction " << reduction;
      ASSERT_EQ(test::screenPixels(file, reduction), bitmap) << file << " at reduction " << reduction;
      EXPECT_EQ(EncodeJpeg(picture, 75, false), EncodeJpeg(bitmap, 75, false)) << file;
    }
  }
  EXPECT_TRUE(LoadImageRgb(folder.write("broken.jpg", "not a picture"), 0).empty());

  RgbPicture incomplete(4, 4);
  incomplete.height = 40;
  EXPECT_THROW(EncodeJpeg(incomplete, 80, false), Error);
}

}  // namespace
}  // namespace vistrel::imaging
