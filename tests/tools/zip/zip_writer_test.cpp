#include "tools/zip/zip_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/error.h"
#include "platform/files.h"
#include "support/processes.h"
#include "support/temp_folder.h"
#include "tools/zip/archive_name.h"

namespace vistrel::zip {
namespace {

namespace fs = std::filesystem;
using test::runCommand;

// One line per entry: name, compression method (0 stored, 8 deflated, 99 AES)
// and whether it is encrypted, as Python's own ZIP reader sees them.
std::string entries(const fs::path& archive) {
  return runCommand({"/usr/bin/python3", "-c",
                     "import sys, zipfile\n"
                     "for i in zipfile.ZipFile(sys.argv[1]).infolist():\n"
                     "    print(i.filename, i.compress_type, i.flag_bits & 1)",
                     archive.string()})
      .output;
}

// Photos compress a little; text a lot. Both kinds check the methods.
std::string noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = char(random() % 16);
  return bytes;
}

class ZipWriterTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  fs::path archive = folder / "out" / "photos.zip";
  void SetUp() override { fs::create_directories(archive.parent_path()); }

  ZipResult zip(const std::vector<fs::path>& files, const ZipOptions& options = {}, const ZipEvents& events = {}) {
    return ZipFiles(archive, files, options, events);
  }
  // Nothing beside the archive: no temporary file is left behind.
  std::vector<std::string> outFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(archive.parent_path())) names.push_back(entry.path().filename());
    return names;
  }
};

TEST(ArchiveNameTest, ZipIsAppendedUnlessTheNameEndsInItInAnyCase) {
  const std::pair<const char*, const char*> cases[] = {{"photos.zip", "photos.zip"},
                                                       {"photos.ZIP", "photos.ZIP"},
                                                       {"photos.rar", "photos.rar.zip"},
                                                       {"photos", "photos.zip"},
                                                       {"/a/b.c/photos", "/a/b.c/photos.zip"}};
  for (const auto& [typed, expected] : cases) EXPECT_EQ(archivePath(typed), fs::path(expected)) << typed;
}

TEST_F(ZipWriterTest, LevelsAndPathsAsChosenAndUnzipAcceptsTheArchive) {
  const fs::path a = folder.write("a/img.txt", std::string(5000, 'a'));
  const fs::path b = folder.write("b/img.txt", noise(3000, 1));
  const fs::path c = folder.write("b/c.txt", "c");
  std::vector<std::string> reported;
  ZipEvents events;
  events.adding = [&](std::size_t number, std::size_t total, const fs::path& file) {
    reported.push_back(std::to_string(number) + "/" + std::to_string(total) + " " + file.filename().string());
  };
  EXPECT_EQ(zip({a, b, c, a}, {9, false, ""}, events).added, 3u);
  EXPECT_EQ(reported, (std::vector<std::string>{"1/3 img.txt", "2/3 img.txt", "3/3 c.txt"}));
  EXPECT_EQ(entries(archive), "img.txt 8 0\nimg_1.txt 8 0\nc.txt 8 0\n");
  const auto tested = runCommand({"/usr/bin/unzip", "-t", archive.string()});
  EXPECT_EQ(tested.status, 0) << tested.output;

  fs::remove(archive);
  EXPECT_EQ(zip({a, c}, {0, true, ""}).added, 2u);
  const std::string root = fs::absolute(folder.path()).relative_path().generic_string();
  EXPECT_EQ(entries(archive), root + "/a/img.txt 0 0\n" + root + "/b/c.txt 0 0\n");
  EXPECT_EQ(outFolder(), std::vector<std::string>{"photos.zip"});
}

TEST_F(ZipWriterTest, APasswordEncryptsEveryEntryWithAes) {
  const fs::path a = folder.write("a.jpg", noise(20000, 2));
  const fs::path b = folder.write("b.jpg", "bb");
  ASSERT_EQ(zip({a, b}, {5, false, "open sesame"}).added, 2u);
  EXPECT_EQ(entries(archive), "a.jpg 99 1\nb.jpg 99 1\n");
  const auto right = runCommand({"/usr/bin/7z", "t", "-popen sesame", archive.string()});
  EXPECT_EQ(right.status, 0) << right.output;
  EXPECT_NE(right.output.find("Everything is Ok"), std::string::npos) << right.output;
  const auto wrong = runCommand({"/usr/bin/7z", "t", "-pguess", archive.string()});
  EXPECT_NE(wrong.status, 0) << wrong.output;
  const auto out = folder / "unpacked";
  ASSERT_EQ(runCommand({"/usr/bin/7z", "x", "-popen sesame", "-o" + out.string(), archive.string()}).status, 0);
  EXPECT_EQ(platform::readFile(out / "a.jpg"), platform::readFile(a));
}

TEST_F(ZipWriterTest, AddingKeepsTheOldEntriesAndReplacesThoseOfTheSameName) {
  const fs::path old = folder.write("old.txt", "old");
  const fs::path changed = folder.write("img.txt", "first");
  zip({old, changed});
  folder.write("img.txt", "second");
  const fs::path added = folder.write("new.txt", "new");
  EXPECT_EQ(zip({changed, added}).added, 2u);
  EXPECT_EQ(entries(archive), "old.txt 8 0\nimg.txt 8 0\nnew.txt 8 0\n");
  const auto printed = runCommand({"/usr/bin/unzip", "-p", archive.string(), "img.txt"});
  EXPECT_EQ(printed.output, "second");
}

TEST_F(ZipWriterTest, CancelAndFailureLeaveTheOldArchiveAsItWas) {
  const fs::path a = folder.write("a.txt", noise(1 << 20, 3));
  zip({folder.write("old.txt", "old")});
  const std::string before = platform::readFile(archive);

  ZipEvents cancel;
  int asked = 0;
  cancel.cancelled = [&] { return ++asked > 3; };
  const ZipResult cancelled = zip({a}, {}, cancel);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_EQ(cancelled.added, 0u);
  EXPECT_EQ(platform::readFile(archive), before);
  EXPECT_EQ(outFolder(), std::vector<std::string>{"photos.zip"});

  // A file that is not an archive is never overwritten.
  const fs::path notes = folder.write("out/notes.zip", "my notes");
  EXPECT_THROW(ZipFiles(notes, {a}, {}, {}), Error);
  EXPECT_EQ(platform::readFile(notes), "my notes");
}

TEST_F(ZipWriterTest, FilesThatCannotBeReadAreNamedAndLeftOut) {
  const fs::path good = folder.write("good.txt", "good");
  std::vector<std::string> skipped;
  ZipEvents events;
  events.skipped = [&](const fs::path& file, const std::string&) { skipped.push_back(file.filename()); };
  const ZipResult result = zip({folder / "missing.txt", good, folder.path()}, {}, events);
  EXPECT_EQ(result.added, 1u);
  EXPECT_EQ(result.skipped, 2u);
  EXPECT_EQ(skipped, (std::vector<std::string>{"missing.txt", folder.path().filename()}));
  EXPECT_EQ(entries(archive), "good.txt 8 0\n");

  // With nothing to add, no archive is made.
  fs::remove(archive);
  EXPECT_EQ(zip({folder / "missing.txt"}, {}, events).added, 0u);
  EXPECT_FALSE(fs::exists(archive));
}

}  // namespace
}  // namespace vistrel::zip
