#include "platform/volume_info.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vistrel::platform {
namespace {

namespace fs = std::filesystem;

// A card, a camera that shows its storage as a folder, and a stick without pictures.
TEST(VolumeInfo, CameraFoldersAreTheFoldersInDcim) {
  test::TempFolder card, camera, stick;
  card.write("DCIM/100CANON/IMG_0001.JPG", "");
  card.write("DCIM/101CANON/IMG_0100.JPG", "");
  card.write("MISC/AUTPRINT.MRK", "");
  camera.write("Internal storage/dcim/Camera/PXL_1.jpg", "");
  camera.write("Internal storage/dcim/loose.jpg", "");
  stick.write("Documents/letter.txt", "");
  EXPECT_EQ(cameraFolders({card.path(), camera.path(), stick.path()}),
            (std::vector<fs::path>{card / "DCIM/100CANON", card / "DCIM/101CANON", camera / "Internal storage/dcim",
                                   camera / "Internal storage/dcim/Camera"}));
}

}  // namespace
}  // namespace vistrel::platform
