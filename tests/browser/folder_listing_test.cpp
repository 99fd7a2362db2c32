#include "browser/folder_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "browser/image_types.h"
#include "support/awkward_names.h"
#include "support/temp_folder.h"

namespace vistrel::browser {
namespace {

std::vector<std::string> names(const std::vector<ListedFile>& files) {
  std::vector<std::string> out;
  for (const auto& f : files) out.push_back(f.name);
  return out;
}

TEST(ImageTypes, ExtensionTestIsASubstringTest) {
  for (const char* image : {"a.jpg", "B.JPEG", "c.Tif", "d.ti", "e.jp", "f.p", "g.g", "h.nef", "i.psd"}) {
    EXPECT_TRUE(isImageFile(image)) << image;
  }
  for (const char* other : {"README", "notes.txt", "x.vxx", "photo.jpg.bak", "a.jpgx"}) {
    EXPECT_FALSE(isImageFile(other)) << other;
  }
  EXPECT_TRUE(isDroppableImage("a.JPG"));
  EXPECT_FALSE(isDroppableImage("b.png"));
  EXPECT_TRUE(hasImageColour("x.PNG"));
  EXPECT_FALSE(hasImageColour("x.nef"));
}

TEST(FolderListing, SizeTextRoundsUpByAWholeKilobyte) {
  EXPECT_EQ(sizeText(0), "1 KB");
  EXPECT_EQ(sizeText(1023), "1 KB");
  EXPECT_EQ(sizeText(1024), "2 KB");
  EXPECT_EQ(sizeText(5ull << 30), "5242881 KB");
}

TEST(FolderListing, OptionsDecideWhatIsListed) {
  test::TempFolder folder;
  for (const char* name : {"a.jpg", "notes.txt", "a.ti", "README", "x.vxx", ".hidden.jpg", "sub/inner.jpg"}) {
    folder.write(name, "data");
  }
  EXPECT_EQ(names(listFolderFiles(folder.path(), {})), (std::vector<std::string>{"a.jpg", "a.ti"}));
  EXPECT_EQ(names(listFolderFiles(folder.path(), {.includeHidden = true})),
            (std::vector<std::string>{".hidden.jpg", "a.jpg", "a.ti"}));
  EXPECT_EQ(names(listFolderFiles(folder.path(), {.includeEncrypted = true})),
            (std::vector<std::string>{"a.jpg", "a.ti", "x.vxx"}));
  EXPECT_EQ(names(listFolderFiles(folder.path(), {.allFiles = true})),
            (std::vector<std::string>{"README", "a.jpg", "a.ti", "notes.txt", "x.vxx"}));
  EXPECT_TRUE(listFolderFiles(folder / "missing", {}).empty());
}

TEST(FolderListing, AwkwardNamesAreListedWithTheirPathsIntact) {
  test::TempFolder folder;
  const auto files = test::writeAwkwardFiles(folder, "photos", ".jpg", "data");
  const std::vector<ListedFile> listed = listFolderFiles(folder / "photos", {});
  ASSERT_EQ(listed.size(), files.size());
  for (const ListedFile& file : listed) {
    EXPECT_NE(std::find(files.begin(), files.end(), file.path), files.end()) << file.path;
  }
}

}  // namespace
}  // namespace vistrel::browser
