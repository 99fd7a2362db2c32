// The way the gallery makes a thumbnail, end to end through the public API:
// header, reduction from the width, reduced load, bilinear scaling on a
// TFastDIB, sharpening and tables there, back to a bitmap, JPEG out.
#include <gtest/gtest.h>

#include "imaging/dib_filters.h"
#include "imaging/dib_transfer.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "picture_tools.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

TEST(ThumbnailFlow, LargePhotoBecomesASmallJpegThatKeepsItsColours) {
  if (!test::haveTool("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
  vistrel::test::TempFolder folder;
  const auto source = folder / "IMG_0012.JPG";
  test::makeImage("-size 3000x2000 xc:'rgb(200,100,50)'", source);

  const ImageHeader header = ReadImageHeader(source);
  ASSERT_EQ(header.width, 3000);
  const int limit = 150;
  const int reduction = header.width > 32 * limit ? 3 : header.width > 8 * limit ? 2 : header.width > 2 * limit ? 1 : 0;
  EXPECT_EQ(reduction, 2);
  const TBitmap loaded = LoadImageBitmap(source, reduction);
  EXPECT_EQ(loaded.Width(), 750);

  TFastDIB sourceDib, result;
  BitmapToDib(loaded, sourceDib);
  result.SetSize(150, 100, sourceDib.BitCount);
  ResampleBilinear(sourceDib, result);
  SharpenCross(result, 1);
  Contrast(result, 10, 10, 10);
  TBitmap thumbnail;
  DibToBitmap(result, thumbnail);
  SaveBitmapAsJpeg(folder / "thumb_IMG_0012.jpg", thumbnail);

  const TBitmap written = DecodeImageFile(folder / "thumb_IMG_0012.jpg", 0).bitmap;
  ASSERT_EQ(written.Width(), 150);
  ASSERT_EQ(written.Height(), 100);
  // Flat colour survives sharpening; contrast 10 stretches each channel a little.
  const ChannelTable table = ContrastTable(10);
  EXPECT_NEAR(written.ScanLine(50)[3 * 75 + 2], table[200], 4);
  EXPECT_NEAR(written.ScanLine(50)[3 * 75 + 1], table[100], 4);
  EXPECT_NEAR(written.ScanLine(50)[3 * 75], table[50], 4);
}

}  // namespace
}  // namespace vistrel::imaging
