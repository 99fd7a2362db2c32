#include "platform/output_manifest.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vistrel::platform
