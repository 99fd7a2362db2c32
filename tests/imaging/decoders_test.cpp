// Every reader against ImageMagick's own reading of files ImageMagick made.
#include <gtest/gtest.h>

#include "imaging/image_file.h"
#include "picture_tools.h"
#include "platform/error.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

struct Case {
  const char* name;      // test name
  const char* file;      // file name (its extension picks ImageMagick's writer)
  const char* convert;   // convert arguments before the file name
  int bitsPerPixel;      // what the reader reports for the file
  const char* writer = "";
  const char* frame = "";
  const char* tool = "convert";
  int tolerance = 0;
};

// Test names in CTest instead of a byte dump.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const char* const kPicture = "-size 37x23 plasma:fractal -seed 7 -depth 8";

class Decoders : public ::testing::TestWithParam<Case> {
 protected:
  // The test picture in the case's format. GraphicsMagick cannot make the
  // same plasma, so it converts ImageMagick's.
  std::filesystem::path make(const Case& c) {
    const auto file = folder / c.file;
    if (std::string(c.tool) == "convert") {
      test::makeImage(std::string(kPicture) + " " + c.convert, file, c.writer);
    } else {
      const auto source = folder / "source.png";
      test::makeImage(kPicture, source);
      test::makeImage("'" + source.string() + "' " + c.convert, file, c.writer, c.tool);
    }
    return file;
  }

  void SetUp() override {
    if (!test::haveTool("convert") || !test::haveTool("gm")) GTEST_SKIP() << "ImageMagick or GraphicsMagick missing";
  }
  vistrel::test::TempFolder folder;
};

TEST_P(Decoders, GivesTheSamePixelsAsImageMagick) {
  const Case& c = GetParam();
  const auto file = make(c);
  const ImageHeader header = ReadImageHeader(file);
  EXPECT_EQ(header.width, 37);
  EXPECT_EQ(header.height, 23);
  const DecodedImage image = DecodeImageFile(file, 0);
  EXPECT_EQ(image.bitsPerPixel, c.bitsPerPixel);
  EXPECT_EQ(test::maxDifference(image.bitmap, test::referencePixels(file, 37, 23, c.frame, c.tool)), c.tolerance);
}

TEST_P(Decoders, ReductionShrinksByTheJpegRule) {
  const auto file = make(GetParam());
  const TBitmap reduced = DecodeImageFile(file, 2).bitmap;
  EXPECT_EQ(reduced.Width(), 10);  // ceil(37 / 4)
  EXPECT_EQ(reduced.Height(), 6);  // ceil(23 / 4)
}

TEST_P(Decoders, ScreenPixelsAreTheBitmapsPixels) {
  const auto file = make(GetParam());
  EXPECT_EQ(test::screenPixels(file, 1), DecodeImageFile(file, 1).bitmap);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Decoders,
    ::testing::Values(Case{"Png", "a.png", "", 24}, Case{"PngPalette", "a.png", "-colors 20", 8, "png8:"},
                      Case{"Png16Interlaced", "a.png", "-depth 16 -interlace PNG", 48, "png48:"},
                      Case{"PngGrey", "a.png", "-colorspace Gray", 8},
                      Case{"Gif", "a.gif", "-colors 64", 6},
                      Case{"GifInterlaced", "a.gif", "-colors 16 -interlace GIF", 4},
                      Case{"Tiff", "a.tif", "-compress None", 24}, Case{"TiffLzw", "a.tif", "-compress LZW", 24},
                      // libtiff narrows 16-bit palette entries by truncation.
                      Case{"TiffPalette", "a.tif", "-colors 16 -type Palette", 4, "", "", "convert", 1},
                      Case{"WebpLossless", "a.webp", "-define webp:lossless=true", 24},
                      Case{"Bmp24", "a.bmp", "", 24, "bmp3:"}, Case{"BmpVersion5", "a.bmp", "-type TrueColor", 24},
                      Case{"Bmp8", "a.bmp", "-colors 50 -type Palette", 8, "bmp3:"},
                      Case{"BmpRle8", "a.bmp", "-colors 50 -type Palette -compress RLE", 8, "bmp3:"},
                      Case{"BmpOs2", "a.bmp", "-colors 50 -type Palette", 8, "bmp2:"},
                      Case{"Pcx24", "a.pcx", "", 24}, Case{"Pcx8", "a.pcx", "-colors 50 -type Palette", 8},
                      // ImageMagick writes every PCX with 8-bit planes.
                      Case{"PcxMono", "a.pcx", "-monochrome", 1, "", "", "gm convert"},
                      // ImageMagick 6 stores and reads TGA rows upside down.
                      Case{"Tga", "a.tga", "-compress None", 24, "", "", "gm convert"},
                      Case{"TgaRle", "a.tga", "-compress RLE", 24, "", "", "gm convert"},
                      Case{"Psd", "a.psd", "", 24, "", "[0]"}),
    [](const ::testing::TestParamInfo<Case>& param) { return param.param.name; });

class Formats : public Decoders {};

TEST_F(Formats, TiffPagesLoadByNumber) {
  const auto file = folder / "pages.tif";
  test::run("convert -size 8x6 xc:red -size 5x4 xc:lime '" + file.string() + "'");
  EXPECT_EQ(DecodeImageFile(file, 0, 0).bitmap.Width(), 8);
  const TBitmap second = DecodeImageFile(file, 0, 1).bitmap;
  EXPECT_EQ(second.Width(), 5);
  EXPECT_EQ(second.ScanLine(0)[1], 255);  // green
  EXPECT_THROW(DecodeImageFile(file, 0, 2), Error);
}

TEST_F(Formats, TransparentPartsComeOutWhite) {
  for (const char* name : {"t.png", "t.gif", "t.webp", "t.tga", "t.tif"}) {
    const auto file = folder / name;
    test::run("convert -size 6x6 xc:none -fill 'rgb(255,0,0)' -draw 'rectangle 0,0 2,5' '" + file.string() + "'");
    const TBitmap bitmap = DecodeImageFile(file, 0).bitmap;
    ASSERT_EQ(bitmap.Width(), 6) << name;
    const std::uint8_t* row = bitmap.ScanLine(3);
    EXPECT_EQ(row[2], 255) << name;  // red part
    EXPECT_EQ(row[1], 0) << name;
    EXPECT_EQ(row[3 * 5], 255) << name;  // transparent part on white
    EXPECT_EQ(row[3 * 5 + 1], 255) << name;
  }
}

TEST_F(Formats, GifTakesTheFirstFrameOnItsScreen) {
  const auto file = folder / "anim.gif";
  test::run("convert -size 6x4 xc:blue -size 6x4 xc:yellow '" + file.string() + "'");
  const TBitmap bitmap = DecodeImageFile(file, 0).bitmap;
  ASSERT_EQ(bitmap.Width(), 6);
  EXPECT_EQ(bitmap.ScanLine(2)[0], 255);  // blue
  EXPECT_EQ(bitmap.ScanLine(2)[2], 0);
}

TEST_F(Formats, ContentDecidesOverAMisleadingExtension) {
  const auto file = folder / "really-a-png.jpg";
  test::makeImage("-size 5x3 xc:white", file, "png:");
  EXPECT_EQ(DecodeImageFile(file, 0).bitmap.Width(), 5);
}

TEST_F(Formats, DecodeMemoryShrinksWithTheReductionOnlyWhereTheDecoderReduces) {
  const auto jpeg = folder / "big.jpg", png = folder / "big.png", misnamed = folder / "png.jpg";
  for (const auto& file : {jpeg, png}) test::makeImage("-size 1600x1200 xc:white", file);
  test::makeImage("-size 1600x1200 xc:white", misnamed, "png:");
  EXPECT_LT(DecodeMemory(jpeg, 1600, 1200, 3) * 16, DecodeMemory(jpeg, 1600, 1200, 0));
  EXPECT_GE(DecodeMemory(png, 1600, 1200, 3), 1600u * 1200 * 4);  // RGBA rows at full size
  EXPECT_EQ(DecodeMemory(misnamed, 1600, 1200, 3), DecodeMemory(misnamed, 1600, 1200, 0));
}

TEST_F(Formats, UnknownContentIsAnError) {
  const auto file = folder.write("notes.txt", "just some words, no picture");
  EXPECT_THROW(DecodeImageFile(file, 0), Error);
  EXPECT_TRUE(LoadImageBitmap(file, 0).Empty());
}

}  // namespace
}  // namespace vistrel::imaging
