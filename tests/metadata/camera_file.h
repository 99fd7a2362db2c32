#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace vistrel::test {

// A photo made by ImageMagick and tagged by exiftool (maker, the three EXIF
// dates 2020:01:01 10:00:00, an ICC profile, an XMP title), for tests that the
// pixels and the segments of other programs survive our metadata writes.
class CameraFileTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // The pixels as djpeg decodes them, the profile, the XMP title and the maker are as made.
  void expectOthersIntact() const;

  TempFolder folder;
  std::filesystem::path photo = folder / "camera.jpg";
  std::string pixels;
  std::string profileBytes;
};

}  // namespace vistrel::test
