// Files made by ImageMagick and tagged by exiftool or exiv2, read back and
// compared with what exiftool itself reports for them.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <cstdlib>
#include <sstream>

#include "maker_note_samples.h"
#include "metadata/exif_text.h"
#include "metadata/img_data.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "tools.h"

namespace vistrel::metadata {
namespace {

using test::exiftoolValues;
using test::haveTool;
using test::runTool;

const std::vector<std::string> kCameraTags = {
    "-Make=Test Maker", "-Model=TM 1", "-DateTimeOriginal=2022:03:04 05:06:07", "-ModifyDate=2022:03:05 00:00:01",
    "-ExposureTime=0.004", "-FNumber=5.6", "-FocalLength=35", "-ISO=400", "-EXIF:Flash#=25",
    "-FocalLengthIn35mmFormat=52", "-GPSLatitude=12.25", "-GPSLatitudeRef=S", "-ExifImageWidth=96",
    "-ExifImageHeight=64", "-InteropIndex=R98"};

class ToolFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!haveTool("convert") || !haveTool("exiftool")) GTEST_SKIP() << "needs ImageMagick and exiftool";
  }

  std::filesystem::path makeImage(const std::string& name) {
    const auto file = folder / name;
    runTool({"convert", "-size", "96x64", "gradient:white-black", file.string()});
    return file;
  }

  std::filesystem::path tagged(const std::string& name, const std::string& byteOrder) {
    const auto file = makeImage(name);
    std::vector<std::string> argv = {"exiftool", "-q", "-overwrite_original", "-ExifByteOrder=" + byteOrder};
    argv.insert(argv.end(), kCameraTags.begin(), kCameraTags.end());
    argv.push_back(file.string());
    runTool(argv);
    return file;
  }

  // The values our reader gives agree with exiftool's numbers for the file.
  void expectSameAsExiftool(const std::filesystem::path& file) {
    TimgData data;
    ASSERT_TRUE(data.ReadMetadata(file)) << data.ErrorText;
    ASSERT_TRUE(data.HasExifBlock());
    const TImageInfo& exif = *data.Exif;
    auto tool = exiftoolValues(file.string(), {"Make", "Model", "DateTimeOriginal", "ModifyDate", "ExposureTime",
                                               "FNumber", "FocalLength", "ISO", "ExifImageWidth",
                                               "ExifImageHeight", "Flash", "FocalLengthIn35mmFormat"});
    EXPECT_EQ(exif.CameraMake, tool["Make"]);
    EXPECT_EQ(exif.CameraModel, tool["Model"]);
    EXPECT_EQ(exif.CameraDate, tool["DateTimeOriginal"]);
    EXPECT_EQ(exif.ValueOfName("DateTime"), tool["ModifyDate"]);
    EXPECT_NEAR(exif.NumberOfName("ExposureTime"), std::stod(tool["ExposureTime"]), 1e-9);
    EXPECT_NEAR(exif.NumberOfName("FNumber"), std::stod(tool["FNumber"]), 1e-9);
    EXPECT_NEAR(exif.NumberOfName("FocalLength"), std::stod(tool["FocalLength"]), 1e-9);
    EXPECT_EQ(exif.IntegerOfName("ISOSpeedRatings"), std::stoi(tool["ISO"]));
    EXPECT_EQ(exif.IntegerOfName("FocalLengthin35mmFilm"), std::stoi(tool["FocalLengthIn35mmFormat"]));
    EXPECT_EQ(exif.FlashValue, std::stoi(tool["Flash"]));
    EXPECT_EQ(exif.ImageWidth, std::stoi(tool["ExifImageWidth"]));
    EXPECT_EQ(exif.ImageHeight, std::stoi(tool["ExifImageHeight"]));
  }

  test::TempFolder folder;
};

TEST_F(ToolFilesTest, JpegInBothByteOrders) {
  for (const char* order : {"II", "MM"}) {
    SCOPED_TRACE(order);
    const auto file = tagged(std::string("photo ") + order + ".jpg", order);
    expectSameAsExiftool(file);
    TimgData data;
    ASSERT_TRUE(data.ReadMetadata(file));
    EXPECT_EQ(data.BigEndian, std::string(order) == "MM");
    EXPECT_EQ(data.Exif->ValueOfName("GPSLatitudeRef"), "S");
    EXPECT_EQ(data.Exif->ValueOfName("GPSLatitude"), "12 Degrees 15 Minutes 0 Seconds");
    EXPECT_EQ(data.Exif->ValueOfName("InteroperabilityIndex"), "R98");  // interoperability sub-directory
    EXPECT_EQ(data.Exif->ValueOfName("ExposureTime"), "1/250");
  }
}

TEST_F(ToolFilesTest, TiffWithItsDirectoryBehindTheImage) {
  // ImageMagick writes the directory behind the pixels; taggers move it to
  // offset 8, so this file keeps only ImageMagick's own tags.
  const auto file = makeImage("scan.tif");
  const std::string header = platform::readFile(file).substr(0, 8);
  ASSERT_NE(unsignedOf(header.substr(4), header[0] == 'M'), 8u) << "the writer put the directory first";
  TimgData data;
  ASSERT_TRUE(data.ReadMetadata(file)) << data.ErrorText;
  auto tool = exiftoolValues(file.string(), {"ImageWidth", "ImageHeight", "BitsPerSample", "Compression"});
  EXPECT_EQ(data.Exif->ImageWidth, std::stoi(tool["ImageWidth"]));
  EXPECT_EQ(data.Exif->ImageHeight, std::stoi(tool["ImageHeight"]));
  EXPECT_EQ(data.Exif->IntegerOfName("BitsPerSample"), std::stoi(tool["BitsPerSample"]));
  EXPECT_EQ(data.Exif->IntegerOfName("Compression"), std::stoi(tool["Compression"]));
  // The same tags once exiftool has moved the directory to the front.
  expectSameAsExiftool(tagged("tagged.tif", "MM"));
}

TEST_F(ToolFilesTest, TaggedByExiv2) {
  if (!haveTool("exiv2")) GTEST_SKIP() << "needs exiv2";
  const auto file = makeImage("exiv2.jpg");
  runTool({"exiv2", "-M", "set Exif.Image.Make Other Maker", "-M", "set Exif.Photo.ExposureTime 1/60", "-M",
           "set Exif.Photo.FNumber 40/10", "-M", "set Exif.Photo.DateTimeOriginal 2019:12:31 23:59:59", "mo",
           file.string()});
  TimgData data;
  ASSERT_TRUE(data.ReadMetadata(file)) << data.ErrorText;
  EXPECT_EQ(data.Exif->CameraMake, "Other Maker");
  EXPECT_EQ(data.Exif->ValueOfName("ExposureTime"), "1/60");
  EXPECT_EQ(data.Exif->ValueOfName("FNumber"), "f/4.0");
  EXPECT_EQ(data.Exif->CameraDate, "2019:12:31 23:59:59");
}

TEST_F(ToolFilesTest, CommentOnlyAndTruncatedFiles) {
  const auto plain = folder / "comment.jpg";
  runTool({"convert", "-size", "8x8", "xc:gray", plain.string()});
  runTool({"exiftool", "-q", "-overwrite_original", "-Comment=just a note", plain.string()});
  TimgData data;
  ASSERT_TRUE(data.ReadMetadata(plain));
  EXPECT_FALSE(data.HasExifBlock());
  EXPECT_EQ(data.CommentText(), "just a note");

  // Cut inside the EXIF segment: what arrived is still read, no crash.
  const auto full = tagged("full.jpg", "II");
  const std::string bytes = platform::readFile(full);
  for (const std::size_t length : {bytes.size() / 2, std::size_t{40}, std::size_t{12}, std::size_t{3}}) {
    const auto cut = folder.write("cut" + std::to_string(length) + ".jpg", bytes.substr(0, length));
    TimgData partial;
    partial.ReadMetadata(cut);
    EXPECT_FALSE(partial.ErrorText.empty());
  }
}

// Our value of a maker-note sample's check: an entry's text without its
// padding, or its numbers (the p-th only for "Name[p]"); for tag 0, which
// makes no entry, the text of its listing line.
std::string makerValue(const TImageInfo& exif, std::string name, bool bigEndian) {
  std::optional<std::size_t> place;
  if (const auto bracket = name.find('['); bracket != std::string::npos) {
    place = std::stoul(name.substr(bracket + 1));
    name.resize(bracket);
  }
  const int index = exif.IndexOfName(name);
  if (index < 0) {
    const std::string& listing = exif.MakerNoteListing;
    const auto at = listing.find("\r\n" + name + " = ");
    if (at == std::string::npos) return "(missing)";
    const auto start = at + name.size() + 5;
    return listing.substr(start, listing.find('\r', start) - start);
  }
  const TTagEntry& entry = exif.Entries[index];
  if (entry.Format == kAscii || entry.Format == kUndefined) {
    return entry.RawBytes.substr(0, entry.RawBytes.find_last_not_of(std::string(" \0", 2)) + 1);
  }
  std::string numbers, items = AllComponents(entry.RawBytes, entry.Format, bigEndian);
  for (std::size_t i = 0, start = 0; start <= items.size(); ++i) {
    const auto end = std::min(items.find(", ", start), items.size());
    const std::string item = items.substr(start, end - start);
    if (!place || *place == i) {
      numbers += (numbers.empty() ? "" : " ") +
                 (item.find('/') == std::string::npos ? item : FormatReal("%.10g", FractionValue(item)));
    }
    start = end + 2;
  }
  return numbers;
}

// The blank-separated numbers of a text; nothing when any part is not one.
std::optional<std::vector<double>> numbersOf(const std::string& text) {
  std::istringstream in(text);
  std::vector<double> numbers;
  for (std::string part; in >> part;) {
    char* end = nullptr;
    numbers.push_back(std::strtod(part.c_str(), &end));
    if (*end != '\0') return std::nullopt;
  }
  if (numbers.empty()) return std::nullopt;
  return numbers;
}

// Numbers agree to exiftool's printed precision; texts exactly.
void expectSameValue(const std::string& ours, const std::string& theirs) {
  const auto x = numbersOf(ours), y = numbersOf(theirs);
  if (!x || !y || x->size() != y->size()) {
    EXPECT_EQ(ours, theirs);
    return;
  }
  for (std::size_t i = 0; i < x->size(); ++i) EXPECT_NEAR((*x)[i], (*y)[i], 1e-6) << ours << " / " << theirs;
}

TEST(MakerNoteToolFiles, ValuesAgreeWithExiftool) {
  if (!haveTool("exiftool")) GTEST_SKIP() << "needs exiftool";
  test::TempFolder folder;
  for (const bool bigEndian : {false, true}) {
    for (const test::MakerNoteSample& sample : test::makerNoteSamples(bigEndian)) {
      SCOPED_TRACE(sample.name + (bigEndian ? " MM" : " II"));
      const auto file = folder.write(sample.name + ".jpg", sample.jpeg);
      auto tool = exiftoolValues(file.string(), {"MakerNotes:all"});
      TimgData data;
      ASSERT_TRUE(data.ReadMetadata(file));
      for (const auto& [ours, theirs] : sample.exiftool) {
        SCOPED_TRACE(ours);
        ASSERT_TRUE(tool.contains(theirs)) << "exiftool does not read " << theirs;
        expectSameValue(makerValue(*data.Exif, ours, sample.noteBigEndian), tool[theirs]);
      }
    }
  }
}

}  // namespace
}  // namespace vistrel::metadata
