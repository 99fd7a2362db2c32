#include "tools/rename/rename_series.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "../../metadata/exif_builder.h"
#include "browser/cache_location.h"
#include "metadata/descriptions.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "tools/rename/series_names.h"

namespace vistrel::rename {
namespace {

namespace fs = std::filesystem;
using platform::DateTime;

// A JPEG whose EXIF says when it was taken ("2004:01:05 14:30:00"), or a
// file without EXIF dated by its last-write time.
fs::path photo(const test::TempFolder& folder, const std::string& name, const std::string& exifDate,
               const DateTime& fileTime = {2010, 6, 7, 8, 9, 10}) {
  std::string content = "no exif";
  if (!exifDate.empty()) {
    test::TiffWriter tiff(false);
    const std::uint32_t first = tiff.addDirectory({tiff.ascii(0x0132, exifDate)});
    content = test::jpegOf({test::exifSegment(tiff.block(first))});
  }
  const fs::path file = folder.write(name, content);
  platform::setLastWriteTime(file, platform::fromLocal(fileTime));
  return file;
}

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : platform::listFolder(folder)) names.push_back(entry.path.filename().string());
  return names;
}

struct NamingCase {
  const char* what;
  RenameSettings settings;
  std::vector<std::pair<std::string, std::string>> files;  // name, EXIF date ("" for none)
  std::vector<std::string> expected;                       // the new names, in order
};

RenameSettings with(std::string pattern, int start = 1, int digits = 1) {
  RenameSettings settings;
  settings.pattern = std::move(pattern);
  settings.startNumber = start;
  settings.digits = digits;
  settings.dateFormat = "dd_mm_yyyy";
  settings.timeFormat = "hh_mm";
  return settings;
}

TEST(RenameSeries, NamingRules) {
  RenameSettings lower = with("Photo_#_%D");
  lower.lowerCase = true;
  RenameSettings dateOnly = with("%d");
  dateOnly.timeFormat = "";
  const NamingCase cases[] = {
      {"no number, no date: the collision rule numbers the rest",
       with("holiday"),
       {{"a.jpg", ""}, {"b.jpg", ""}, {"c.jpg", ""}},
       {"holiday.jpg", "holiday(1).jpg", "holiday(2).jpg"}},
      {"one digit", with("img00#", 7, 1), {{"a.jpg", ""}, {"b.jpg", ""}}, {"img007.jpg", "img008.jpg"}},
      {"three digits", with("img00#", 7, 3), {{"a.jpg", ""}, {"b.jpg", ""}}, {"img00007.jpg", "img00008.jpg"}},
      {"the same minute twice",
       with("%d"),
       {{"a.jpg", "2004:01:05 14:30:00"}, {"b.jpg", "2004:01:05 14:30:45"}},
       {"05_01_2004_14_30.jpg", "05_01_2004_14_30(1).jpg"}},
      {"no EXIF date: the file's time", with("%d"), {{"a.jpg", ""}}, {"07_06_2010_08_09.jpg"}},
      {"no time format: no separator", dateOnly, {{"a.jpg", "2004:01:05 14:30:00"}}, {"05_01_2004.jpg"}},
      {"a file with its name already keeps it and uses no number",
       with("img#"),
       {{"a.jpg", ""}, {"img2.jpg", ""}, {"b.jpg", ""}},
       {"img1.jpg", "img2.jpg", "img(1).jpg"}},
      {"%D alone is dropped; lower case takes the extension too",
       lower,
       {{"A.JPG", "2004:01:05 14:30:00"}},
       {"photo_1_.jpg"}},
  };
  for (const NamingCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder folder;
    std::vector<fs::path> files;
    for (const auto& [name, date] : c.files) files.push_back(photo(folder, name, date));
    RenameDisk disk;
    const RenameResult result = renameSeries(files, c.settings, disk);
    EXPECT_TRUE(result.failed.empty());
    std::vector<std::string> names;
    for (const fs::path& file : files) {
      const auto renamed = std::find_if(result.renamed.begin(), result.renamed.end(),
                                        [&](const auto& pair) { return pair.first == file; });
      names.push_back(renamed == result.renamed.end() ? file.filename().string() : renamed->second.filename().string());
    }
    EXPECT_EQ(names, c.expected);
  }
}

TEST(RenameSeries, StampAndSample) {
  RenameSettings settings = with("Eventname # (%d)", 3, 2);
  settings.separator = ".";
  settings.timeFormat = "hh:mm";
  EXPECT_EQ(sampleName(settings, {2004, 1, 5, 14, 30, 0}), "Eventname 03 (05_01_2004_14_30)");
  EXPECT_EQ(expandPattern("#%d#", "a#b", "7"), "7a#b7") << "the stamp is not read again";
  EXPECT_FALSE(wantsDateStamp("photo %D"));
}

// The acceptance run: 200 photos by their dates, then back by a numbered
// pattern whose names collide with files not renamed yet.
TEST(RenameSeries, TwoRunsLoseNoFileAndTakeDescriptionsAndThumbnailsAlong) {
  test::TempFolder folder, cacheRoot;
  browser::CacheLocation cache(cacheRoot.path());
  std::vector<fs::path> files;
  std::map<std::string, std::string> contentByDescription;
  for (int i = 0; i < 200; ++i) {
    const std::string name = std::to_string(i + 2) + ".jpg";
    files.push_back(photo(folder, name, "2004:01:05 14:" + std::to_string(10 + i % 3) + ":00"));
    if (i % 10 == 0) {
      metadata::SetDescription(files.back(), "shot " + name);
      platform::createFolders(cache.cachePath(files.back()).parent_path());
      platform::writeFileAtomically(cache.cachePath(files.back()), "thumb " + name);
    }
  }
  RenameDisk disk(&cache);
  RenameResult first = renameSeries(files, with("%d"), disk);
  ASSERT_TRUE(first.failed.empty());
  ASSERT_EQ(first.renamed.size(), 200u);
  EXPECT_EQ(first.renamed[3].second.filename(), "05_01_2004_14_10(1).jpg");

  std::vector<fs::path> renamed;
  for (const auto& pair : first.renamed) renamed.push_back(pair.second);
  const RenameResult second = renameSeries(renamed, with("#", 3), disk);
  ASSERT_TRUE(second.failed.empty());
  EXPECT_EQ(namesIn(folder.path()).size(), 201u) << "200 photos and descript.ion";
  for (int i = 0; i < 200; i += 10) {
    const fs::path now = second.renamed[std::size_t(i)].second;
    EXPECT_EQ(now.filename(), std::to_string(i + 3) + ".jpg");
    const std::string old = std::to_string(i + 2) + ".jpg";
    EXPECT_EQ(metadata::DescriptionOf(now), "shot " + old);
    EXPECT_EQ(platform::readFile(cache.cachePath(now)), "thumb " + old);
  }
  EXPECT_EQ(metadata::FolderDescriptions(folder.path()).size(), 20u) << "the old names' lines are gone";
  EXPECT_FALSE(fs::exists(cache.cachePath(folder / "2.jpg"))) << "2.jpg is no longer a name in the folder";
}

// exists() said the name was free; a file took it before the rename.
class RacingDisk : public RenameDisk {
 public:
  explicit RacingDisk(fs::path intruder) : intruder_(std::move(intruder)) {}
  bool exists(const fs::path& path) const override { return path != intruder_ && RenameDisk::exists(path); }

 private:
  fs::path intruder_;
};

TEST(RenameSeries, AFileThatAppearsUnderTheNewNameIsNotReplaced) {
  test::TempFolder folder;
  const fs::path file = photo(folder, "a.jpg", "");
  folder.write("holiday.jpg", "appeared meanwhile");
  RacingDisk disk(folder / "holiday.jpg");
  const RenameResult result = renameSeries({file}, with("holiday"), disk);
  ASSERT_EQ(result.renamed.size(), 1u);
  EXPECT_EQ(result.renamed[0].second, folder / "holiday(1).jpg");
  EXPECT_EQ(platform::readFile(folder / "holiday.jpg"), "appeared meanwhile");
}

TEST(RenameSeries, APlannedRunGivesTheNamesAndChangesNothing) {
  test::TempFolder folder;
  std::vector<fs::path> files;
  for (const char* name : {"2.jpg", "3.jpg", "x.jpg"}) files.push_back(photo(folder, name, ""));
  metadata::SetDescription(files[0], "two");
  PlannedDisk planned;
  const RenameResult plan = renameSeries(files, with("#", 3), planned);
  EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"2.jpg", "3.jpg", "descript.ion", "x.jpg"}));
  RenameDisk disk;
  const RenameResult real = renameSeries(files, with("#", 3), disk);
  EXPECT_EQ(plan.renamed, real.renamed);
  EXPECT_EQ(plan.unchanged, real.unchanged);
}

TEST(RenameSeries, AFailingFileKeepsItsNameAndIsListed) {
  test::TempFolder folder;
  const fs::path kept = photo(folder, "a.jpg", "");
  const RenameResult result = renameSeries({folder / "gone.jpg", kept}, with("%d"), *std::make_unique<RenameDisk>());
  ASSERT_EQ(result.failed.size(), 1u);
  EXPECT_EQ(result.failed[0].file, folder / "gone.jpg");
  EXPECT_EQ(result.renamed.size(), 1u);
  EXPECT_EQ(result.renamed[0].second.filename(), "07_06_2010_08_09.jpg") << "the number was not used up";
}

}  // namespace
}  // namespace vistrel::rename
