// A folder as an older and a newer program left it: Latin-1 EXIF strings and
// an IPTC caption without a character-set mark, a caption marked UTF-8, and a
// UTF-8 descript.ion. The info command, the pages and the overlay text all
// show the same letters.

#include <gtest/gtest.h>

#include "../metadata/exif_builder.h"
#include "gallery/captions.h"
#include "gallery/file_metadata.h"
#include "gallery/imaging_codec.h"
#include "platform/files.h"
#include "platform/text.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

// An APP13 segment holding one IPTC resource with these datasets.
std::string iptcSegment(const std::string& datasets) {
  const std::size_t size = datasets.size();
  return segment(0xED, std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0\0\0", 24) +
                           std::string{static_cast<char>(size >> 8), static_cast<char>(size & 0xFF)} + datasets +
                           (size % 2 ? std::string(1, '\0') : std::string()));
}

std::string dataset(int record, int number, const std::string& value) {
  return std::string{'\x1C', static_cast<char>(record), static_cast<char>(number), 0,
                     static_cast<char>(value.size())} +
         value;
}

struct OlderTextsTest : ::testing::Test {
  IsolatedUser user;
  TempFolder folder;
  fs::path boat, winter;

  OlderTextsTest() {
    const std::string jpeg = gallery::ImagingCodec().encodeJpeg(gallery::RgbImage(64, 48), 80);
    TiffWriter w(false);
    const std::string exif =
        exifSegment(w.block(w.addDirectory({w.ascii(0x010F, "Caf\xE9 Optik"), w.ascii(0x0110, "K\xF6nig 1")})));
    boat = folder.write("photos/\u00c5lesund b\u00e5t.jpg",
                        "\xFF\xD8" + exif + iptcSegment(dataset(2, 120, "Fjord caf\xE9")) + jpeg.substr(2));
    winter = folder.write("photos/\u0141\u00f3d\u017a \u2013 zima.jpg",
                          "\xFF\xD8" + iptcSegment(dataset(1, 90, "\x1B%G") + dataset(2, 120, "Zima w \u0141odzi")) +
                              jpeg.substr(2));
    folder.write("photos/descript.ion", "\"\u00c5lesund b\u00e5t.jpg\" B\u00e5t p\u00e5 fjorden\r\n");
  }
};

TEST_F(OlderTextsTest, InfoPrintsEveryTextAsUtf8) {
  const auto result = runVistrel({"info", boat.string(), winter.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(platform::isValidUtf8(result.out));
  for (const char* text : {"Make = Caf\u00e9 Optik\n", "Model = K\u00f6nig 1\n", "Image caption: Fjord caf\u00e9\n",
                           "Description: B\u00e5t p\u00e5 fjorden\n", "Image caption: Zima w \u0141odzi\n"}) {
    EXPECT_NE(result.out.find(text), std::string::npos) << text << "\n" << result.out;
  }
}

TEST_F(OlderTextsTest, PagesAndOverlaysShowTheSameTexts) {
  const std::string format = "%iptc|%exifcamera|%desc";
  const auto result = runVistrel({"gallery", "-q", "--target", (folder / "web").string(), "--set",
                                  "ParamString=" + format, (folder / "photos").string()});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string page = platform::readFile(folder / "web/index.html");
  EXPECT_TRUE(platform::isValidUtf8(page));
  EXPECT_NE(page.find("Fjord caf\u00e9|Caf\u00e9 Optik K\u00f6nig 1|B\u00e5t p\u00e5 fjorden"), std::string::npos)
      << page;
  EXPECT_NE(page.find("Zima w \u0141odzi||"), std::string::npos) << page;
  gallery::FileMetadata metadata;
  EXPECT_EQ(gallery::expandCaption(format, boat, gallery::CaptionVariant::Overlay, {}, metadata),
            "Fjord caf\u00e9|Caf\u00e9 Optik K\u00f6nig 1|B\u00e5t p\u00e5 fjorden");
}

}  // namespace
}  // namespace vistrel::test
