#include "platform/output_manifest.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::platform {
namespace {

TEST(OutputManifest, RecordsMergeAndForgetFilesThatAreGone) {
  test::TempFolder folder;
  EXPECT_TRUE(readOutputManifest(folder.path()).empty());
  const auto a = folder.write("thumb_a.jpg", "a"), b = folder.write("images/b.jpg", "b");
  recordOutputs(folder.path(), {a, b});
  const auto c = folder.write("c.html", "c");
  std::filesystem::remove(a);
  recordOutputs(folder.path(), {c, folder.path().parent_path() / "outside.jpg"});
  EXPECT_EQ(readOutputManifest(folder.path()), (std::set<std::string>{"c.html", "images/b.jpg"}));
}

TEST(OutputManifest, RecordsSurviveAwkwardNamesAndOldManifestsStayReadable) {
  test::TempFolder folder;
  folder.write(kOutputManifestName, "# an older program's list\nthumb_a.jpg\nindex.html\n");
  folder.write("index.html", "i");
  EXPECT_EQ(readOutputManifest(folder.path()), (std::set<std::string>{"index.html", "thumb_a.jpg"}));
  EXPECT_TRUE(readOutputRecords(folder.path()).empty());

  const auto a = folder.write("thumb_a.jpg", "a"), tab = folder.write("t\tb\\.jpg", "b");
  const OutputRecord ra{"/photos/a.jpg", {10, 1700000000123456789}, "0123abcd", *fileStamp(a)};
  const OutputRecord rb{"/photos/line\nbreak\t\\.jpg", {20, -5}, "", *fileStamp(tab)};
  recordOutputs(folder.path(), {a, tab}, {{a, ra}, {tab, rb}});
  // A later run that gives no record for a file keeps the one there.
  recordOutputs(folder.path(), {a});
  const auto records = readOutputRecords(folder.path());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records.at("thumb_a.jpg"), ra);
  EXPECT_EQ(records.at("t\tb\\.jpg"), rb);
  // The list stays one name a line, so that programs that know only the list read it as before.
  const std::string text = readFile(folder / kOutputManifestName);
  EXPECT_NE(text.find("\nthumb_a.jpg\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nindex.html\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vistrel::platform
