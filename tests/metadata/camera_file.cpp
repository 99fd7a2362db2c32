#include "camera_file.h"

#include "tools.h"

namespace vistrel::test {

void CameraFileTest::SetUp() {
  for (const char* tool : {"convert", "exiftool", "djpeg"}) {
    if (!haveTool(tool)) GTEST_SKIP() << "needs " << tool;
  }
  runTool({"convert", "-size", "96x64", "plasma:fractal", "-seed", "3", photo.string()});
  std::string icc(128, '\0');
  icc.replace(0, 4, std::string("\0\0\0\x84", 4));
  icc.replace(8, 16, std::string("\x02\x10\0\0mntrRGB XYZ ", 16));  // version, class, colour space
  icc.replace(36, 4, "acsp");
  const auto profile = folder.write("p.icc", icc + std::string(4, '\0'));
  runTool({"exiftool", "-q", "-overwrite_original", "-Make=Camera", "-AllDates=2020:01:01 10:00:00",
           "-ICC_Profile<=" + profile.string(), "-XMP:Title=Xmp title", photo.string()});
  pixels = runTool({"djpeg", "-pnm", photo.string()});
  profileBytes = runTool({"exiftool", "-b", "-ICC_Profile", photo.string()});
  ASSERT_FALSE(profileBytes.empty());
}

void CameraFileTest::expectOthersIntact() const {
  EXPECT_EQ(runTool({"djpeg", "-pnm", photo.string()}), pixels);
  EXPECT_EQ(runTool({"exiftool", "-b", "-ICC_Profile", photo.string()}), profileBytes);
  auto tool = exiftoolValues(photo.string(), {"XMP:Title", "Make"});
  EXPECT_EQ(tool["Title"], "Xmp title");
  EXPECT_EQ(tool["Make"], "Camera");
}

}  // namespace vistrel::test
