#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "gallery/imaging_codec.h"
#include "platform/files.h"
#include "platform/output_manifest.h"
#include "run_program.h"
#include "support/awkward_names.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

struct GalleryCommandTest : ::testing::Test {
  IsolatedUser user;
  TempFolder folder;

  fs::path photo(const std::string& name, int w = 320, int h = 240) {
    gallery::ImagingCodec codec;
    return folder.write("photos/" + name, codec.encodeJpeg(gallery::RgbImage(w, h), 80));
  }
  std::string target() const { return (folder / "web").string(); }
};

TEST_F(GalleryCommandTest, MakesAGalleryOfAFolderAndPrintsTheFirstPage) {
  photo("b.jpg");
  photo("a.jpg", 240, 320);
  folder.write("photos/readme.txt", "not an image");
  const auto result = runVistrel({"gallery", "--target", target(), (folder / "photos").string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, target() + "/index.html\n");
  EXPECT_NE(result.err.find("Processing 2 of 2"), std::string::npos) << result.err;
  for (const char* name : {"index.html", "a.html", "b.html", "thumb_a.jpg", "medium_b.jpg"}) {
    EXPECT_TRUE(fs::exists(folder / "web" / name)) << name;
  }
  // Folder entries come in name order.
  const std::string index = platform::readFile(folder / "web/index.html");
  EXPECT_LT(index.find("thumb_a.jpg"), index.find("thumb_b.jpg"));
}

TEST_F(GalleryCommandTest, AFolderOfAwkwardNamesMakesAGalleryAndTheirInfoPrints) {
  gallery::ImagingCodec codec;
  const auto files = writeAwkwardFiles(folder, "photos", ".jpg", codec.encodeJpeg(gallery::RgbImage(64, 48), 80));
  const auto made = runVistrel({"gallery", "-q", "--target", target(), (folder / "photos").string()});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, target() + "/index.html\n");
  std::vector<std::string> info{"info", "--"};
  for (const fs::path& file : files) info.push_back(file.string());
  EXPECT_EQ(runVistrel(info).status, 0);
}

TEST_F(GalleryCommandTest, WithoutATerminalExistingFilesAreKeptAndListed) {
  const auto file = photo("a.jpg");
  ASSERT_EQ(runVistrel({"gallery", "-q", "--target", target(), file.string()}).status, 0);
  platform::writeFileAtomically(folder / "web/thumb_a.jpg", "mine");
  const auto kept = runVistrel({"gallery", "--quiet", "--target", target(), file.string()});
  EXPECT_EQ(kept.status, 0) << kept.err;
  EXPECT_EQ(platform::readFile(folder / "web/thumb_a.jpg"), "mine");
  EXPECT_NE(kept.err.find("Skipped (already exists): " + target() + "/thumb_a.jpg"), std::string::npos) << kept.err;
  const auto replaced = runVistrel({"gallery", "-q", "--overwrite", "all", "--target", target(), file.string()});
  EXPECT_EQ(replaced.status, 0);
  EXPECT_NE(platform::readFile(folder / "web/thumb_a.jpg"), "mine");
}

TEST_F(GalleryCommandTest, AnyNumberOfJobsWritesTheSameFiles) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) photo(name, 1400, 1000);
  std::map<std::string, std::string> byJobs[2];
  for (int jobs : {1, 3}) {
    fs::remove_all(folder / "web");
    const auto result =
        runVistrel({"gallery", "-q", "--jobs", std::to_string(jobs), "--target", target(), (folder / "photos").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const auto& entry : fs::directory_iterator(folder / "web")) {
      byJobs[jobs / 2][entry.path().filename().string()] = platform::readFile(entry.path());
    }
    // The manifest's records hold time stamps: its list of files is what must match.
    std::string& listed = byJobs[jobs / 2][platform::kOutputManifestName] = "";
    for (const std::string& file : platform::readOutputManifest(folder / "web")) listed += file + "\n";
  }
  EXPECT_EQ(byJobs[0].size(), 14u);  // with the output manifest
  EXPECT_EQ(byJobs[0], byJobs[1]);
  EXPECT_EQ(runVistrel({"gallery", "--jobs", "0", (folder / "photos").string()}).status, 2);
}

TEST_F(GalleryCommandTest, RefusalsAndUsageErrors) {
  const auto file = photo("a.jpg");
  const auto refused = runVistrel({"gallery", "--target", "x", file.string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("No target folder specified. Operation aborted."), std::string::npos);
  EXPECT_EQ(runVistrel({"gallery", "--set", "FooterText=x", file.string()}).status, 2);
  EXPECT_EQ(runVistrel({"gallery", "--set", "NoSuchKey=1", file.string()}).status, 2);
  EXPECT_EQ(runVistrel({"gallery", "--overwrite", "sometimes", file.string()}).status, 2);
  EXPECT_EQ(runVistrel({"gallery"}).status, 2);
  const auto empty = runVistrel({"gallery", "--list", folder.write("empty.vfl", "").string()});
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("Drag and Drop file list."), std::string::npos);
}

TEST_F(GalleryCommandTest, SettingsCanBeSetPrintedSavedAndLoaded) {
  const auto printed = runVistrel({"gallery", "--set", "Cols=5", "--set", "General.FooterText=Mine",
                                   "--set", "HTML head.FooterText=Bottom", "--html-only", "--print-settings"});
  ASSERT_EQ(printed.status, 0) << printed.err;
  EXPECT_EQ(printed.out.rfind("[General]\r\nCols=5\r\nRows=3\r\n", 0), 0u) << printed.out;
  EXPECT_NE(printed.out.find("FooterText=Mine\r\n"), std::string::npos);
  EXPECT_NE(printed.out.find("FooterText=Qm90dG9t\r\n"), std::string::npos);
  const auto design = (folder / "design.vgc").string();
  ASSERT_EQ(runVistrel({"gallery", "--set", "Rows=7", "--save-settings", design}).status, 0);
  const auto loaded = runVistrel({"gallery", "--settings", design, "--print-settings"});
  EXPECT_NE(loaded.out.find("Rows=7\r\n"), std::string::npos);
}

TEST_F(GalleryCommandTest, ListFileGivesTheOrderAndHtmlOnlyWritesNoImages) {
  const auto a = photo("a.jpg"), b = photo("b.jpg");
  const auto list = folder.write("run.vfl", b.string() + "\r\n" + a.string() + "\r\n");
  const auto result = runVistrel({"gallery", "-q", "--html-only", "--target", target(), "--list", list.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(fs::exists(folder / "web/thumb_a.jpg"));
  const std::string index = platform::readFile(folder / "web/index.html");
  EXPECT_LT(index.find("thumb_b.jpg"), index.find("thumb_a.jpg"));
}

TEST_F(GalleryCommandTest, ExitStatusSaysWhetherEveryPhotoWasMade) {
  const auto a = photo("a.jpg"), c = photo("c.jpg");
  const std::string whole = platform::readFile(photo("whole.jpg", 640, 480));
  const auto truncated = folder.write("photos/b.jpg", whole.substr(0, whole.size() / 2));
  const auto text = folder.write("photos/notes.jpg", "not a picture"), empty = folder.write("photos/empty.jpg", "");
  struct Case {
    std::vector<fs::path> files;
    int status;
    bool pagePrinted;
    std::string named;  // on standard error
  };
  const Case cases[] = {
      {{a, c}, 0, true, ""},
      {{a, truncated, c}, 1, true, "Could not make " + truncated.string() + ": "},
      {{text, empty}, 1, false, "no photo could be made"},
      {{folder / "photos/missing.jpg"}, 1, false, "Left out " + (folder / "photos/missing.jpg").string() +
                                                      ": The file does not exist."},
  };
  for (const Case& run : cases) {
    fs::remove_all(folder / "web");
    std::vector<std::string> args{"gallery", "-q", "--target", target()};
    for (const fs::path& file : run.files) args.push_back(file.string());
    const auto result = runVistrel(args);
    EXPECT_EQ(result.status, run.status) << result.err;
    EXPECT_EQ(result.out, run.pagePrinted ? target() + "/index.html\n" : "") << result.err;
    EXPECT_NE(result.err.find(run.named), std::string::npos) << result.err;
  }
}

TEST_F(GalleryCommandTest, TwoProcessesSavingOneDesignKeepEveryChange) {
  const auto design = (folder / "design.vgc").string();
  ASSERT_EQ(runVistrel({"gallery", "--save-settings", design}).status, 0);
  for (int round = 1; round <= 50; ++round) {
    const auto save = [&](const std::string& key) {
      return runVistrel({"gallery", "--settings", design, "--set", key + "=" + std::to_string(round),
                         "--save-settings", design});
    };
    std::thread other([&] { EXPECT_EQ(save("Rows").status, 0); });
    EXPECT_EQ(save("Cols").status, 0);
    other.join();
    const std::string text = platform::readFile(design);
    ASSERT_NE(text.find("Cols=" + std::to_string(round) + "\r\n"), std::string::npos) << "round " << round;
    ASSERT_NE(text.find("Rows=" + std::to_string(round) + "\r\n"), std::string::npos) << "round " << round;
  }
}

}  // namespace
}  // namespace vistrel::test
