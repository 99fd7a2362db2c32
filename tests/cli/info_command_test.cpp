#include <gtest/gtest.h>

#include "../metadata/exif_builder.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

TEST(InfoCommand, PrintsTheExifListingOfEachFile) {
  TempFolder folder;
  TiffWriter w(true);
  const std::uint32_t first = w.addDirectory({w.ascii(0x010F, "Maker"), w.rational(0x829A, 1, 250)});
  const auto photo = folder.write("photo.jpg", jpegOf({exifSegment(w.block(first))}));
  const auto plain = folder.write("notes.txt", "text");
  const auto result = runVistrel({"info", photo.string(), plain.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find(photo.string() + "\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("ErrStr = <none>\nMotorola Byte Order\nMake = Maker\nExposure Time = 1/250\n"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("ErrStr = Not an EXIF file"), std::string::npos) << result.out;
}

TEST(InfoCommand, MissingFilesAndArgumentsAreErrors) {
  EXPECT_EQ(runVistrel({"info"}).status, 2);
  const auto result = runVistrel({"info", "/nonexistent/a.jpg"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("no such file"), std::string::npos);
}

}  // namespace
}  // namespace vistrel::test
