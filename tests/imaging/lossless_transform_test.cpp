#include "imaging/lossless_transform.h"

#include <gtest/gtest.h>

#include <fstream>

#include "../metadata/exif_builder.h"
#include "imaging/exif_block.h"
#include "jpeg_coefficients.h"
#include "picture_tools.h"
#include "platform/error.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

using test::JpegCoefficients;
using test::readCoefficients;
using T = JpegTransform;

std::string fileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The reference tool's way of saying each transform.
const std::pair<T, const char*> kReference[] = {{T::FlipHorizontal, "-flip horizontal"},
                                                {T::FlipVertical, "-flip vertical"},
                                                {T::Transpose, "-transpose"},
                                                {T::Transverse, "-transverse"},
                                                {T::Rotate90, "-rotate 90"},
                                                {T::Rotate180, "-rotate 180"},
                                                {T::Rotate270, "-rotate 270"}};

class LosslessTransform : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("convert") || !test::haveTool("jpegtran")) GTEST_SKIP() << "needs ImageMagick and jpegtran";
  }

  // A photo-like JPEG; `sampling` is ImageMagick's factor of the luminance
  // ("2x2" is 4:2:0), or "grey" for a one-component file.
  std::string photo(const std::string& size, const std::string& sampling, const std::string& extra = "") {
    const auto file = folder / "source.jpg";
    const std::string colour = sampling == "grey" ? "-colorspace Gray" : "-sampling-factor " + sampling;
    test::makeImage("-size " + size + " plasma:fractal -seed 3 " + colour + " -quality 85 " + extra, file);
    return fileBytes(file);
  }

  std::string reference(const std::string& jpeg, const std::string& arguments) {
    const auto in = folder / "in.jpg", out = folder / "out.jpg";
    std::ofstream(in, std::ios::binary) << jpeg;
    test::run("jpegtran " + arguments + " -copy all -outfile '" + out.string() + "' '" + in.string() + "'");
    return fileBytes(out);
  }

  static TransformedJpeg transform(const std::string& jpeg, T transform, bool trim = true) {
    return TransformJpeg(jpeg, {transform, trim});
  }

  vistrel::test::TempFolder folder;
};

TEST_F(LosslessTransform, CoefficientsEqualTheReferenceToolForEverySamplingSizeAndTransform) {
  for (const std::string sampling : {"2x2", "2x1", "1x2", "1x1", "grey"}) {
    for (const std::string size : {"64x48", "61x45"}) {
      const std::string source = photo(size, sampling);
      for (const auto& [kind, arguments] : kReference) {
        for (const bool trim : {true, false}) {
          SCOPED_TRACE(sampling + " " + size + " " + arguments + (trim ? " -trim" : ""));
          const TransformedJpeg ours = transform(source, kind, trim);
          const JpegCoefficients expected =
              readCoefficients(reference(source, std::string(arguments) + (trim ? " -trim" : "")));
          EXPECT_TRUE(readCoefficients(ours.bytes) == expected);
          EXPECT_EQ(ours.width, expected.width);
          EXPECT_EQ(ours.height, expected.height);
        }
      }
    }
  }
}

TEST_F(LosslessTransform, ProgressiveSourcesBecomeTheSameCoefficients) {
  const std::string source = photo("53x37", "2x2", "-interlace JPEG");
  EXPECT_TRUE(readCoefficients(transform(source, T::Rotate90).bytes) ==
              readCoefficients(reference(source, "-rotate 90 -trim")));
}

TEST_F(LosslessTransform, FullTurnsGiveBackTheOriginalCoefficients) {
  for (const std::string sampling : {"2x2", "2x1", "grey"}) {
    SCOPED_TRACE(sampling);
    const std::string source = photo("64x48", sampling);
    std::string turned = source;
    for (int i = 0; i < 4; ++i) turned = transform(turned, T::Rotate90).bytes;
    EXPECT_TRUE(readCoefficients(turned) == readCoefficients(source));
    turned = transform(transform(source, T::Rotate180).bytes, T::Rotate180).bytes;
    EXPECT_TRUE(readCoefficients(turned) == readCoefficients(source));
  }
}

TEST_F(LosslessTransform, PartialMcusAreTrimmedOnlyWhereTheTurnMirrors) {
  struct Case {
    const char* size;
    T kind;
    bool trim;
    int width, height;
  };
  // 4:2:0 has MCUs of 16 × 16 pixels.
  const Case cases[] = {
      {"640x480", T::Rotate90, true, 480, 640},  {"640x480", T::Rotate90, false, 480, 640},
      {"640x490", T::Rotate90, true, 480, 640},  {"640x490", T::Rotate90, false, 490, 640},
      {"650x480", T::Rotate90, true, 480, 650},  {"650x480", T::Rotate90, false, 480, 650},
      {"650x490", T::Rotate180, true, 640, 480}, {"650x490", T::Rotate270, true, 490, 640},
      {"10x9", T::Rotate90, true, 9, 10},        {"10x9", T::Rotate180, true, 10, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.size) + " " + std::to_string(int(c.kind)) + (c.trim ? " trim" : ""));
    const auto file = folder / "plain.jpg";
    test::makeImage(std::string("-size ") + c.size + " xc:teal -sampling-factor 2x2", file);
    const TransformedJpeg ours = transform(fileBytes(file), c.kind, c.trim);
    const JpegCoefficients result = readCoefficients(ours.bytes);
    EXPECT_EQ(result.width, c.width);
    EXPECT_EQ(result.height, c.height);
    EXPECT_EQ(ours.width, c.width);
  }
}

TEST_F(LosslessTransform, GreyscaleOutputKeepsTheLuminanceOnly) {
  const std::string source = photo("61x45", "2x2");
  TransformRequest request{T::Rotate90, true, true};
  EXPECT_TRUE(readCoefficients(TransformJpeg(source, request).bytes) ==
              readCoefficients(reference(source, "-rotate 90 -trim -grayscale")));
}

// A file with every kind of marker a camera or an editor leaves.
class TransformMarkers : public LosslessTransform {
 protected:
  static std::string exifBlock(bool bigEndian, int orientation) {
    vistrel::test::TiffWriter tiff(bigEndian);
    const std::uint32_t exif = tiff.nextOffset() + 2 + 2 * 12 + 4;
    tiff.addDirectory({tiff.shortValue(0x0112, std::uint16_t(orientation)), tiff.longValue(34665, exif)});
    tiff.addDirectory({tiff.shortValue(40962, 61), tiff.longValue(40963, 45)});
    return "Exif" + std::string(2, '\0') + tiff.block(8);
  }

  // Inserts segments right after the start-of-image marker.
  static std::string withSegments(const std::string& jpeg, const std::vector<std::string>& segments) {
    std::string bytes = jpeg.substr(0, 2);
    for (const std::string& s : segments) bytes += s;
    return bytes + jpeg.substr(2);
  }

  const std::string icc = "ICC_PROFILE" + std::string(1, '\0') + "\x01\x01" + std::string(300, '\x5A');
  const std::string xmp = "http://ns.adobe.com/xap/1.0/" + std::string(1, '\0') + "<x:xmpmeta>caption</x:xmpmeta>";
};

TEST_F(TransformMarkers, ExifFirstKeepsEveryMarkerInOrderWithTheNewSizeAndUprightOrientation) {
  const std::string exif = exifBlock(true, 6);
  const std::string source = withSegments(
      photo("61x45", "2x2", "-comment Harbour"),
      {vistrel::test::segment(0xE1, exif), vistrel::test::segment(0xE2, icc), vistrel::test::segment(0xE1, xmp)});
  TransformRequest request{T::Rotate90};
  request.resetOrientation = true;
  const auto before = test::markersOf(source);
  const auto after = test::markersOf(TransformJpeg(source, request).bytes);
  // No JFIF header of the compressor's own: the source's markers, in their order.
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 1; i < after.size(); ++i) EXPECT_EQ(after[i], before[i]) << i;
  const auto payload = std::span(reinterpret_cast<const std::uint8_t*>(after[0].second.data()), after[0].second.size());
  EXPECT_EQ(exifOrientation(payload), 1);
  // Width and height now 32 and 61 (turned, trimmed on the right), as LONG values.
  EXPECT_EQ(after[0].second.size(), exif.size());
  EXPECT_NE(after[0].second.find(std::string("\xA0\x02\x00\x04\x00\x00\x00\x01\x00\x00\x00\x20", 12)),
            std::string::npos);
  EXPECT_NE(after[0].second.find(std::string("\xA0\x03\x00\x04\x00\x00\x00\x01\x00\x00\x00\x3D", 12)),
            std::string::npos);
}

TEST_F(TransformMarkers, JfifFirstIsNotWrittenTwiceAndTheOrientationStaysUnlessAsked) {
  const std::string source = photo("64x48", "2x2");
  const std::string withExif =
      source.substr(0, 20) + vistrel::test::segment(0xE1, exifBlock(false, 3)) + source.substr(20);
  ASSERT_EQ(test::markersOf(withExif).front().first, 0xE0);
  const auto after = test::markersOf(TransformJpeg(withExif, {T::Rotate180}).bytes);
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[0].first, 0xE0);
  EXPECT_EQ(after[1].first, 0xE1);
  EXPECT_EQ(
      exifOrientation(std::span(reinterpret_cast<const std::uint8_t*>(after[1].second.data()), after[1].second.size())),
      3);
  EXPECT_TRUE(test::markersOf(TransformJpeg(withExif, {T::Rotate180}, MarkerCopy::None).bytes).size() == 1);
}

TEST_F(TransformMarkers, FollowingTheOrientationTurnsUprightOrDoesNothing) {
  const std::string plain = photo("61x45", "2x2");
  TransformRequest follow;
  follow.followOrientation = true;
  for (const auto& [orientation, kind] :
       {std::pair{6, T::Rotate90}, {8, T::Rotate270}, {3, T::Rotate180}, {2, T::FlipHorizontal}, {5, T::Transpose}}) {
    SCOPED_TRACE(orientation);
    const std::string source =
        withSegments(plain, {vistrel::test::segment(0xE1, exifBlock(orientation % 2 == 0, orientation))});
    const TransformedJpeg ours = TransformJpeg(source, follow);
    EXPECT_EQ(ours.applied, kind);
    EXPECT_TRUE(readCoefficients(ours.bytes) == readCoefficients(TransformJpeg(source, {kind}).bytes));
    const std::string exif = test::markersOf(ours.bytes).front().second;
    EXPECT_EQ(exifOrientation(std::span(reinterpret_cast<const std::uint8_t*>(exif.data()), exif.size())), 1);
  }
  const TransformedJpeg upright =
      TransformJpeg(withSegments(plain, {vistrel::test::segment(0xE1, exifBlock(false, 1))}), follow);
  EXPECT_EQ(upright.applied, T::None);
  EXPECT_TRUE(upright.bytes.empty());
  EXPECT_TRUE(TransformJpeg(plain, follow).bytes.empty());
}

TEST_F(LosslessTransform, DamagedDataIsRefusedNotTurned) {
  const std::string source = photo("64x48", "2x2");
  for (const std::string& bad :
       {std::string("not a picture"), source.substr(0, source.size() / 2), source.substr(0, source.size() - 2)}) {
    EXPECT_THROW(transform(bad, T::Rotate90), Error);
  }
}

}  // namespace
}  // namespace vistrel::imaging
