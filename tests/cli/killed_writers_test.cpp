// Every command that writes user data, killed at random points of its run,
// must leave each file with its old or its new content and lose no file.
// VISTREL_KILL_ROUNDS sets the kills per command (3 by default; 100 for a soak).

#include <gtest/gtest.h>
#include <stdlib.h>

#include <random>

#include "noisy_photo.h"
#include "platform/files.h"
#include "run_program.h"
#include "support/killed_runs.h"
#include "support/processes.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

constexpr int kPhotos = 6;

// The scratch folders a command works in: its own, and one on another file
// system (/dev/shm where there is one) for moves that must copy.
struct Places {
  fs::path work;
  fs::path away;
};

Args withPhotos(Args args, const fs::path& folder, const std::string& extension = ".jpg") {
  for (int i = 1; i <= kPhotos; ++i) args.push_back((folder / ("p" + std::to_string(i) + extension)).string());
  return args;
}

std::string withExtension(const std::string& path, const char* extension) {
  return fs::path(path).replace_extension(extension).string();
}

struct Writer {
  Writer(std::string n, std::function<Args(const Places&)> a, KillRules r = {})
      : name(std::move(n)), args(std::move(a)), rules(std::move(r)) {}
  std::string name;
  std::function<Args(const Places&)> args;
  KillRules rules;
};

// The photos' descriptions, written once for each photo described or renamed.
const KillRules kDescriptionsInSteps{{}, {"work/photos/descript.ion"}, {}};

// The gallery's list of outputs ends each record with the time the output was
// written, which no two runs share.
std::string withoutOutputTimes(const std::string& path, const std::string& bytes) {
  if (!path.ends_with(".vistrel-outputs")) return bytes;
  std::string out;
  for (std::size_t start = 0, end; start < bytes.size(); start = end + 1) {
    end = std::min(bytes.find('\n', start), bytes.size());
    std::string line = bytes.substr(start, end - start);
    if (line.starts_with("#=\t")) line.erase(line.rfind('\t'));
    out += line;
    if (end < bytes.size()) out += '\n';
  }
  return out;
}

std::vector<Writer> writers() {
  return {
      {"DesignFile",
       [](const Places& p) {
         const std::string design = (p.work / "design.vgc").string();
         return Args{"gallery", "--settings", design, "--set", "Rows=7", "--set", "General.FooterText=Mine",
                     "--save-settings", design};
       }},
      {"GalleryOverAnOlderOne",
       [](const Places& p) {
         return Args{"gallery", "-q", "--overwrite", "all", "--target", (p.work / "web").string(),
                     (p.work / "photos").string()};
       },
       {{}, {}, withoutOutputTimes}},
      {"IptcSet",
       [](const Places& p) {
         return withPhotos({"iptc", "set", "Caption=Harbour at dawn", "--keywords", "sea,sun"}, p.work / "photos");
       }},
      {"ExifDateShift",
       [](const Places& p) { return withPhotos({"exifdate", "--shift", "0:01:00:00"}, p.work / "photos"); }},
      {"DescribeWithAComment",
       [](const Places& p) {
         return withPhotos({"describe", "--text", "Harbour at dawn", "--comment", "Quay"}, p.work / "photos");
       },
       kDescriptionsInSteps},
      {"RenameSeries",
       [](const Places& p) { return withPhotos({"rename", "--pattern", "holiday_#", "--digits", "2"}, p.work / "photos"); },
       kDescriptionsInSteps},
      {"ImportMovingAcrossFileSystems",
       [](const Places& p) {
         return Args{"import", "--from", (p.work / "photos").string(), "--to", (p.away / "archive").string(), "--move"};
       }},
      {"MoveAcrossFileSystems",
       [](const Places& p) { return withPhotos({"move", "--to", (p.away / "archive").string()}, p.work / "photos"); }},
      {"EncryptAndDelete",
       [](const Places& p) {
         return withPhotos({"encrypt", "--password-file", (p.work / "key.txt").string(), "--delete", "--yes"},
                           p.work / "photos");
       },
       {[](const std::string& path) { return withExtension(path, ".VXX"); }, {}, {}}},
      {"DecryptAndDelete",
       [](const Places& p) {
         return withPhotos({"decrypt", "--password-file", (p.work / "key.txt").string(), "--delete", "--yes"},
                           p.work / "sealed", ".VXX");
       },
       {[](const std::string& path) { return withExtension(path, ".jpg"); }, {}, {}}},
      {"TextReplace",
       [](const Places& p) { return withPhotos({"replace", "--find", "Previous", "--replace", "Back"}, p.work / "pages", ".html"); }},
      {"ZipIntoAnArchive",
       [](const Places& p) { return withPhotos({"zip", (p.work / "archive.zip").string()}, p.work / "photos"); }},
      {"RotateInPlace", [](const Places& p) { return withPhotos({"rotate", "90"}, p.work / "photos"); }},
      {"ResizeOverOlderCopies",
       [](const Places& p) { return withPhotos({"resize", "--size", "320", "--prefix", "small_"}, p.work / "photos"); }},
      {"ThumbnailCache", [](const Places& p) { return Args{"cache", "--jobs", "2", (p.work / "photos").string()}; }},
  };
}

void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.name; }

fs::path makeFolderIn(const fs::path& parent) {
  std::string pattern = (parent / "vistrel-kill-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

// The settings and the thumbnail cache of the runs live in the work folder too.
std::vector<std::string> userEnvironment(const fs::path& work) {
  return {"VISTREL_HOME=" + (work / "home").string(), "VISTREL_CONFIG_DIR=" + (work / "config").string()};
}

void runForFixture(const Args& args) {
  const ProgramResult result = runVistrel(args);
  if (result.status != 0) throw std::runtime_error(args.front() + " failed: " + result.err);
}

// One fixture for every writer, made once: photos with EXIF dates and a
// description file, their encrypted twins, a design, a gallery and resized
// copies made with other settings, an archive holding some of them, and pages.
void makeFixture(const Places& p) {
  const fs::path photos = p.work / "photos", sealed = p.work / "sealed", pages = p.work / "pages";
  fs::create_directories(p.away / "archive");
  for (const fs::path& folder : {photos, sealed, pages}) fs::create_directories(folder);
  for (const fs::path& folder : {photos, sealed}) {
    for (int i = 1; i <= kPhotos; ++i) writeNoisyPhoto(folder / ("p" + std::to_string(i) + ".jpg"), 800, 600, 100 + i);
  }
  if (runCommand(withPhotos({"/usr/bin/exiftool", "-q", "-overwrite_original", "-AllDates=2020:01:01 10:00:00"}, photos))
          .status != 0) {
    throw std::runtime_error("exiftool failed");
  }
  platform::writeFileAtomically(photos / "descript.ion", "p2.jpg An older line\r\nother.jpg Kept\r\n");
  std::string page;
  for (int line = 0; line < 4000; ++line) page += "<a href=\"p" + std::to_string(line) + ".html\">Previous</a>\n";
  for (int i = 1; i <= kPhotos; ++i) platform::writeFileAtomically(pages / ("p" + std::to_string(i) + ".html"), page);
  const std::string key = (p.work / "key.txt").string();
  platform::writeFileAtomically(key, "open sesame");
  runForFixture(withPhotos({"encrypt", "--password-file", key, "--delete", "--yes"}, sealed));
  runForFixture({"gallery", "--set", "Cols=2", "--save-settings", (p.work / "design.vgc").string()});
  runForFixture({"gallery", "-q", "--set", "Rows=2", "--target", (p.work / "web").string(), photos.string()});
  runForFixture(withPhotos({"resize", "--size", "200", "--prefix", "small_"}, photos));
  runForFixture({"zip", (p.work / "archive.zip").string(), (photos / "p1.jpg").string(), (pages / "p1.html").string()});
}

FolderContent contentOf(const Places& p) {
  FolderContent content;
  for (const auto& [root, prefix] : {std::pair{p.work, "work/"}, std::pair{p.away, "away/"}}) {
    for (auto& [path, bytes] : folderContent(root)) content[prefix + path] = std::move(bytes);
  }
  return content;
}

class KilledWriterTest : public ::testing::TestWithParam<Writer> {
 protected:
  static void SetUpTestSuite() {
    pristine_ = new Places{makeFolderIn(fs::temp_directory_path()), makeFolderIn(awayParent())};
    // The fixture's own runs keep their settings in it too, never in the user's.
    ::setenv("VISTREL_HOME", (pristine_->work / "home").c_str(), 1);
    ::setenv("VISTREL_CONFIG_DIR", (pristine_->work / "config").c_str(), 1);
    makeFixture(*pristine_);
    ::unsetenv("VISTREL_HOME");
    ::unsetenv("VISTREL_CONFIG_DIR");
  }
  static void TearDownTestSuite() {
    fs::remove_all(pristine_->work);
    fs::remove_all(pristine_->away);
    delete pristine_;
  }
  static fs::path awayParent() { return fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path(); }

  void TearDown() override {
    fs::remove_all(scratch.work);
    fs::remove_all(scratch.away);
  }

  // The scratch folders as the fixture has them, at the same paths every time,
  // so that what a run writes cannot differ by where it ran.
  void reset() {
    fs::remove_all(scratch.work);
    fs::remove_all(scratch.away);
    copyTree(pristine_->work, scratch.work);
    copyTree(pristine_->away, scratch.away);
  }

  std::chrono::microseconds run(std::chrono::microseconds killAfter) {
    Args args = GetParam().args(scratch);
    args.insert(args.begin(), VISTREL_BINARY);
    return runUntilKilled(args, userEnvironment(scratch.work), killAfter);
  }

  static inline Places* pristine_ = nullptr;
  Places scratch{makeFolderIn(fs::temp_directory_path()), makeFolderIn(awayParent())};
};

TEST_P(KilledWriterTest, LeavesOldOrNewContentAndLosesNoFile) {
  reset();
  const FolderContent before = contentOf(scratch);
  const auto runTime = run(std::chrono::minutes(10));
  const FolderContent after = contentOf(scratch);
  ASSERT_NE(before, after) << "the command wrote nothing";
  // Drawn within one uninterrupted run, which the killed ones resemble.
  std::mt19937 random(20261209);
  std::uniform_int_distribution<long> delay(0, runTime.count());
  for (int round = 1; round <= killRounds(); ++round) {
    reset();
    const std::chrono::microseconds killAfter(delay(random));
    run(killAfter);
    const auto faults = faultsAfterKill(before, after, contentOf(scratch), GetParam().rules);
    std::string report;
    for (const auto& fault : faults) report += "\n  " + fault;
    ASSERT_TRUE(faults.empty()) << "round " << round << ", killed after " << killAfter.count() << " µs of "
                                << runTime.count() << ":" << report;
  }
}

// The check itself, on folders as a killed writer could leave them.
TEST(FaultsAfterKill, TellsTornAndLostFilesFromSoundOnes) {
  const FolderContent before{{"a.jpg", "A"}, {"b.jpg", "B"}, {"descript.ion", "a.jpg x\r\n"}};
  const FolderContent after{{"a.jpg", "A2"}, {"c.jpg", "B"}, {"b.VXX", "sealed"}, {"descript.ion", "a.jpg y\r\nc.jpg z\r\n"}};
  const KillRules rules{[](const std::string& path) { return withExtension(path, ".VXX"); }, {"descript.ion"}, {}};
  struct Case {
    FolderContent killed;
    std::size_t faults;
  } cases[] = {
      {before, 0},
      {after, 0},
      {{{"a.jpg", "A"}, {"c.jpg", "B"}, {".vistrel-tmp-1-x", "A"}, {"descript.ion", "a.jpg x\r\nc.jpg z\r\n"}}, 0},
      {{{"a.jpg", "A2"}, {"b.VXX", "sealed"}, {"descript.ion", "a.jpg x\r\n"}}, 0},  // b went once b.VXX was whole
      {{{"a.jpg", "A"}, {"b.jpg", "B"}, {"descript.ion", "a.jpg x\r\nc.jp"}}, 1},       // torn mid-line
      {{{"a.jpg", "A"}, {"b.jpg", "B"}, {"descript.ion", "a.jpg x\r\n"}, {"a.tmp", "A"}}, 1},
      {{{"a.jpg", "A"}, {"b.VXX", "seal"}, {"descript.ion", "a.jpg x\r\n"}}, 1},       // a torn product
      {{{"b.jpg", "B"}, {"descript.ion", "a.jpg x\r\n"}}, 1},                          // a.jpg went, though it stays
      {{{"a.jpg", "A"}, {"descript.ion", "a.jpg x\r\n"}}, 1},                          // b.jpg is nowhere
  };
  for (const Case& c : cases) {
    EXPECT_EQ(faultsAfterKill(before, after, c.killed, rules).size(), c.faults) << ::testing::PrintToString(c.killed);
  }
}

INSTANTIATE_TEST_SUITE_P(Writers, KilledWriterTest, ::testing::ValuesIn(writers()),
                         [](const auto& writer) { return writer.param.name; });

}  // namespace
}  // namespace vistrel::test
