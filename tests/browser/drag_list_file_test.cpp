#include "browser/drag_list_file.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::browser {
namespace {

TEST(DragListFile, ReadsEveryKindOfLineEnd) {
  test::TempFolder folder;
  const auto file = folder.write("list.vfl", "/a b/1.jpg\r\n/2.jpg\r/3.jpg\n\r\n/4.jpg");
  EXPECT_EQ(readDragList(file), (std::vector<std::string>{"/a b/1.jpg", "/2.jpg", "/3.jpg", "", "/4.jpg"}));
}

TEST(DragListFile, RoundTripsWithCrLfAfterEveryLine) {
  test::TempFolder folder;
  const std::vector<std::string> entries{"/photos/Ünïcode & co.jpg", "", "/x.gif"};
  writeDragList(folder / "list.vfl", entries);
  EXPECT_EQ(platform::readFile(folder / "list.vfl"), "/photos/Ünïcode & co.jpg\r\n\r\n/x.gif\r\n");
  EXPECT_EQ(readDragList(folder / "list.vfl"), entries);
}

TEST(DragListFile, PathsOfFilesKeepTheirBytesAndOtherLatin1IsDecoded) {
  test::TempFolder folder;
  const std::string onDisk = folder.write("\xE9t\xE9.jpg", "x").string();  // a Latin-1 name on disk
  const auto list = folder.write("list.vfl", onDisk + "\r\n/photos/caf\xE9.jpg\r\n");
  EXPECT_EQ(readDragList(list), (std::vector<std::string>{onDisk, "/photos/caf\u00e9.jpg"}));
}

TEST(DragListFile, AddsTheExtensionOnlyWhenMissing) {
  EXPECT_EQ(withDragListExtension("/tmp/mylist"), "/tmp/mylist.vfl");
  EXPECT_EQ(withDragListExtension("/tmp/mylist.VFL"), "/tmp/mylist.VFL");
  EXPECT_EQ(withDragListExtension("/tmp/my.list"), "/tmp/my.list.vfl");
}

}  // namespace
}  // namespace vistrel::browser
