#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "camera_file.h"
#include "exif_builder.h"
#include "metadata/img_data.h"
#include "metadata/jpeg_stream.h"
#include "metadata/photoshop_resources.h"
#include "metadata/summaries.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "tools.h"

namespace vistrel::metadata {
namespace {

using test::segment;
using test::TiffWriter;

constexpr int kApp0 = 0xE0, kApp1 = 0xE1, kApp2 = 0xE2, kApp13 = 0xED, kCom = 0xFE, kDqt = 0xDB, kSof0 = 0xC0;

std::string frameHeader(int width, int height) {
  return segment(kSof0, std::string{8, static_cast<char>(height >> 8), static_cast<char>(height & 0xFF),
                                    static_cast<char>(width >> 8), static_cast<char>(width & 0xFF), 1, 1, 0x11, 0});
}

std::string photoshopPayload(std::uint16_t id, const std::string& data) {
  return std::string(kPhotoshopSignature) + "8BIM" + std::string{static_cast<char>(id >> 8), static_cast<char>(id & 0xFF)} +
         std::string(2, '\0') + std::string{0, 0, 0, static_cast<char>(data.size())} + data +
         (data.size() % 2 ? std::string(1, '\0') : "");
}

std::vector<int> markersOf(const std::string& jpeg) {
  std::vector<int> markers;
  for (const auto& s : SplitJpeg(jpeg).segments) markers.push_back(s.marker);
  return markers;
}

const std::string kImageData = std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10) + "\x12\xFF\x00\x34" + "\xFF\xD9";

class JpegRewriteTest : public ::testing::Test {
 protected:
  TiffWriter w{false};
  std::string exifWithSize(int width, int height) {
    const std::uint32_t sub = w.addDirectory({w.longValue(0xA002, width), {0xA003, 3, 1, w.u16(height)}});
    return test::exifSegment(w.block(w.addDirectory({w.ascii(0x010F, "Cam"), w.longValue(0x8769, sub)})));
  }
  // A camera file: JFIF, EXIF, ICC, XMP, Photoshop resources, comment.
  std::string cameraFile() {
    return "\xFF\xD8" + segment(kApp0, std::string("JFIF\0\1\2\0\0\1\0\1\0\0", 14)) + exifWithSize(2048, 1536) +
           segment(kApp2, std::string("ICC_PROFILE\0\1\1profile", 21)) +
           segment(kApp1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33)) +
           segment(kApp13, photoshopPayload(0x03ED, "print") + photoshopPayload(0x0404, "\x1C\x02\x78\x00\x01" "a").substr(14)) +
           segment(kCom, "old note") + segment(kDqt, std::string(65, '\1')) + frameHeader(2048, 1536) + kImageData;
  }
  TimgData data;
};

TEST_F(JpegRewriteTest, ReplacesOnlyItsOwnSegmentsAndKeepsTheRestInOrder) {
  const std::string original = cameraFile();
  ASSERT_TRUE(data.ReadMetadataFromMemory(original, ".jpg"));
  data.SetCommentText("new note");
  TIPTCdata& iptc = data.EnsureIptc();
  iptc.ParseIptcSection();
  iptc.SetValue("ImageCaption", "b");
  data.SetIptcBlock(iptc.BuildBlock());
  const std::string out = data.JpegWithMetadata(original, false);

  EXPECT_EQ(markersOf(out), (std::vector<int>{kApp1, kApp13, kCom, kApp2, kApp1, kDqt, kSof0}));
  EXPECT_TRUE(out.ends_with(kImageData));
  const JpegStream split = SplitJpeg(out);
  EXPECT_EQ(split.segments[3].bytes, segment(kApp2, std::string("ICC_PROFILE\0\1\1profile", 21)));
  // The print resource survives beside the new IPTC resource.
  std::vector<std::uint16_t> ids;
  for (const auto& resource : PhotoshopResourcesOf(split.segments[1].payload())) ids.push_back(resource.id);
  EXPECT_EQ(ids, (std::vector<std::uint16_t>{0x0404, 0x040B, 0x03ED}));

  TimgData again;
  ASSERT_TRUE(again.ReadMetadataFromMemory(out, ".jpg"));
  EXPECT_EQ(again.CommentText(), "new note");
  EXPECT_EQ(again.Exif->CameraMake, "Cam");
  again.Iptc->ParseIptcSection();
  EXPECT_EQ(again.Iptc->ValueOf("ImageCaption", ""), "b");
}

TEST_F(JpegRewriteTest, RewritingUnchangedMetadataGivesTheSameSegments) {
  const std::string original = cameraFile();
  ASSERT_TRUE(data.ReadMetadataFromMemory(original, ".jpg"));
  const std::string out = data.JpegWithMetadata(original, false);
  EXPECT_EQ(data.JpegWithMetadata(out, false), out);
  EXPECT_EQ(out.size(), original.size() - 18);  // only the JFIF segment made way for EXIF
}

TEST_F(JpegRewriteTest, CopiesExifIntoAnEncoderStreamWithItsNewSize) {
  ASSERT_TRUE(data.ReadMetadataFromMemory(cameraFile(), ".jpg"));
  // The encoder's own stream starts with JFIF and a small EXIF block.
  const std::string encoded = "\xFF\xD8" + segment(kApp0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14)) +
                              exifWithSize(1, 1) + frameHeader(320, 240) + kImageData;
  const std::string out = data.JpegWithMetadata(encoded, true);
  EXPECT_EQ(markersOf(out), (std::vector<int>{kApp1, kApp13, kCom, kSof0}));
  TimgData copy;
  ASSERT_TRUE(copy.ReadMetadataFromMemory(out, ".jpg"));
  EXPECT_EQ(copy.Exif->ImageWidth, 320);
  EXPECT_EQ(copy.Exif->ImageHeight, 240);  // a SHORT entry, patched in 16 bits
}

TEST_F(JpegRewriteTest, FileWithoutHeaderGetsTheFixedJfifSegment) {
  const std::string plain = "\xFF\xD8" + segment(kCom, "c") + frameHeader(8, 8) + kImageData;
  ASSERT_TRUE(data.ReadMetadataFromMemory(plain, ".jpg"));
  const std::string out = data.JpegWithMetadata(plain, true);
  EXPECT_EQ(out.substr(0, 20), std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 20));
}

TEST_F(JpegRewriteTest, DamagedStreamsAreRefused) {
  ASSERT_TRUE(data.ReadMetadataFromMemory(cameraFile(), ".jpg"));
  // Not a JPEG; a segment length past the end; no marker where one must be.
  for (const std::string& bad : {std::string("GIF89a"), std::string("\xFF\xD8\xFF\xE2\x10\x00xx", 8),
                                 std::string("\xFF\xD8\x00\x00", 4), std::string("\xFF\xD8\xFF", 3)}) {
    EXPECT_THROW(data.JpegWithMetadata(bad, false), Error);
  }
}

TEST_F(JpegRewriteTest, TruncatedSectionIsWrittenWithItsTrueLength) {
  // The comment's length field promises more than the damaged file holds;
  // writing the promise would swallow the next segment.
  const std::string damaged = std::string("\xFF\xD8\xFF\xFE\x01\x00", 6) + "short";
  ASSERT_TRUE(data.ReadMetadataFromMemory(damaged, ".jpg"));
  const std::string out = data.JpegWithMetadata("\xFF\xD8" + frameHeader(8, 8) + kImageData, false);
  EXPECT_EQ(markersOf(out), (std::vector<int>{kApp0, kCom, kSof0}));
}

TEST_F(JpegRewriteTest, FailedWriteLeavesTheOriginal) {
  test::TempFolder folder;
  const std::string original = cameraFile();
  const auto file = folder.write("p.jpg", original);
  ASSERT_TRUE(data.ReadMetadata(file));
  data.SetCommentText("changed");
  std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {  // root may write anywhere
    EXPECT_THROW(data.RewriteWithMetadata(), Error);
  }
  std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
  EXPECT_THROW(data.SaveJpegWithMetadata("not a jpeg", file, false), Error);
  EXPECT_EQ(platform::readFile(file), original);
  data.RewriteWithMetadata();
  TimgData again;
  ASSERT_TRUE(again.ReadMetadata(file));
  EXPECT_EQ(again.CommentText(), "changed");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);  // no temporary left
}

TEST_F(JpegRewriteTest, KilledWriterLeavesTheOldOrTheNewFile) {
  test::TempFolder folder;
  const std::string original = cameraFile();
  const auto file = folder.write("p.jpg", original);
  ASSERT_TRUE(data.ReadMetadata(file));
  data.SetCommentText(std::string(60000, 'n'));
  const std::string rewritten = data.JpegWithMetadata(original, false);
  for (int delayMs : {1, 5, 20}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) data.SaveJpegWithMetadata(original, file, false);
    }
    ::usleep(static_cast<useconds_t>(delayMs * 1000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string found = platform::readFile(file);
    EXPECT_TRUE(found == original || found == rewritten) << "after " << delayMs << " ms";
  }
}

using test::CameraFileTest;

TEST_F(CameraFileTest, IptcCaptionKeepsPixelsProfileXmpAndExif) {
  TimgData data;
  ASSERT_TRUE(data.ReadMetadata(photo));
  data.EnsureIptc().SetValue("ImageCaption", "On the lake");
  data.Iptc->WriteToFile(photo);
  expectOthersIntact();
  EXPECT_EQ(test::exiftoolValues(photo.string(), {"Caption-Abstract"})["Caption-Abstract"], "On the lake");
  EXPECT_EQ(IptcValueOfFile(photo, "imagecaption"), "On the lake");
}

TEST_F(CameraFileTest, ShiftedDatesKeepPixelsProfileAndXmp) {
  TimgData data;
  ASSERT_TRUE(data.ReadMetadata(photo));
  data.Exif->ShiftAllDates(1, 2, 0, 0);
  data.RewriteWithMetadata();
  expectOthersIntact();
  EXPECT_EQ(test::exiftoolValues(photo.string(), {"DateTimeOriginal"})["DateTimeOriginal"], "2020:01:02 12:00:00");
}

TEST_F(CameraFileTest, ExifCopyIntoAGalleryImage) {
  const auto output = folder / "thumb.jpg";
  test::runTool({"convert", photo.string(), "-strip", "-resize", "48x32", output.string()});
  const std::string thumbPixels = test::runTool({"djpeg", "-pnm", output.string()});
  EXPECT_TRUE(CopyExifToOutput(photo, output));
  EXPECT_EQ(test::runTool({"djpeg", "-pnm", output.string()}), thumbPixels);
  EXPECT_EQ(test::exiftoolValues(output.string(), {"Make"})["Make"], "Camera");
  EXPECT_FALSE(CopyExifToOutput(folder / "missing.jpg", output));
  EXPECT_FALSE(CopyExifToOutput(folder / "camera.png", output));
}

}  // namespace
}  // namespace vistrel::metadata
