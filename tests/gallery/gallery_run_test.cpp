#include <gtest/gtest.h>

#include "gallery/imaging_codec.h"
#include "gallery/gallery_run.h"
#include "page_fixture.h"
#include "platform/files.h"
#include "support/awkward_names.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;
using Outcome = RunResult::Outcome;

// Records what the run shows; can cancel at a chosen image.
struct RecordingObserver : RunObserver {
  std::vector<std::string> events;
  std::atomic<bool>* cancel = nullptr;
  int cancelAt = 0;
  void mainStatus(const std::string& text) override { events.push_back("main:" + text); }
  void progress(int position, int total, const fs::path&) override {
    events.push_back("Processing " + std::to_string(position) + " of " + std::to_string(total));
    if (cancel && position == cancelAt) *cancel = true;
  }
  void status(const std::string& text) override { events.push_back(text); }
  void ftpUpload(const std::string& folder) override { events.push_back("ftp:" + folder); }
};

struct GalleryRunTest : PageFixture {
  ImagingCodec codec;
  RecordingObserver recorder;

  fs::path photo(const std::string& name, int w = 300, int h = 200) {
    return folder.write("src/" + name, codec.encodeJpeg(RgbImage(w, h), 80));
  }
  RunResult run(const std::vector<fs::path>& files, CandidateSource from = CandidateSource::TaggedFiles) {
    return runGallery(settings, options, files, from, cancel, {prompter, recorder, meta, codec, folder / "data"});
  }
  bool has(const std::string& event) const {
    return std::find(recorder.events.begin(), recorder.events.end(), event) != recorder.events.end();
  }
};

TEST_F(GalleryRunTest, MakesImagesAndPagesForTheFilesTheCodecOpens) {
  const fs::path a = photo("a.jpg"), b = photo("b.jpg", 200, 300);
  const fs::path text = folder.write("src/notes.jpg", "text, not a picture");
  const RunResult result = run({a, text, b});
  EXPECT_EQ(result.outcome, Outcome::Completed);
  EXPECT_EQ(result.files, (std::vector<fs::path>{a, b}));
  EXPECT_EQ(result.firstIndexPage, folder / "web/index.html");
  for (const char* name : {"thumb_a.jpg", "medium_a.jpg", "thumb_b.jpg", "medium_b.jpg", "index.html", "a.html",
                           "b.html"}) {
    EXPECT_TRUE(exists(name)) << name;
  }
  EXPECT_FALSE(exists("notes.html"));
  EXPECT_EQ(codec.headerSize(folder / "web/medium_b.jpg"), (ImageSize{200, 300}));
  EXPECT_NE(lines("index.html")[6].find("height=100 width=150"), std::string::npos);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"main:Processing 2 file(s)", "Processing 1 of 2",
                                                       "Processing 2 of 2", "Creating thumbnail index pages...",
                                                       "Creating web pages...", "main:Done"}));
}

TEST_F(GalleryRunTest, AwkwardNamesEachGetTheirImagesAndPage) {
  const auto files = test::writeAwkwardFiles(folder, "src", ".jpg", codec.encodeJpeg(RgbImage(300, 200), 80));
  const RunResult result = run(files);
  EXPECT_EQ(result.outcome, Outcome::Completed);
  EXPECT_EQ(result.files, files);
  int thumbnails = 0, pages = 0;
  for (const auto& entry : fs::directory_iterator(folder / "web")) {
    const std::string name = entry.path().filename().string();
    thumbnails += name.starts_with("thumb_");
    pages += entry.path().extension() == ".html" && !name.starts_with("index");
  }
  EXPECT_EQ(thumbnails, int(files.size()));
  EXPECT_EQ(pages, int(files.size()));
}

TEST_F(GalleryRunTest, FolderRefusalsUseTheirOwnWords) {
  const fs::path a = photo("a.jpg");
  settings.TargetFolder = "C";
  EXPECT_EQ(run({a}).outcome, Outcome::Refused);
  folder.write("blocker", "a file where a folder should be");
  settings.TargetFolder = (folder / "blocker/web").string();
  EXPECT_EQ(run({a}).message, "Unable to open or create specified\r\ntarget folder. Operation aborted.");
  settings.TargetFolder = (folder / "web").string();
  settings.UseSubfolders = true;
  settings.ThumbFolder = "taken";
  folder.write("web/taken", "a file where a folder should be");
  EXPECT_EQ(run({a}).message, "Unable to open or create specified\r\nthumbnail folder. Operation aborted.");
  settings.ThumbFolder = "thumbnails";
  settings.ImageFolder = "taken";
  EXPECT_EQ(run({a}).message, "Unable to open or create specified\r\nimage folder. Operation aborted.");
  ASSERT_EQ(prompter.shown().size(), 4u);
  EXPECT_EQ(prompter.shown()[0].text, "No target folder specified. Operation aborted.");
  EXPECT_EQ(prompter.shown()[0].caption, "Error");
  EXPECT_FALSE(exists("index.html"));
  EXPECT_TRUE(has("main:Done"));
}

TEST_F(GalleryRunTest, DeepTargetsAreCreatedAndEmptySubfolderNamesGetDefaults) {
  settings.TargetFolder = (folder / "deep/er/web").string();
  settings.UseSubfolders = true;
  settings.ThumbFolder = settings.ImageFolder = "";
  settings.linkMode = LinkMode::DontLink;
  EXPECT_EQ(run({photo("a.jpg")}).outcome, Outcome::Completed);
  EXPECT_EQ(settings.ThumbFolder, "thumbnails");
  EXPECT_EQ(settings.ImageFolder, "images");
  EXPECT_TRUE(fs::exists(folder / "deep/er/web/thumbnails/thumb_a.jpg"));
  EXPECT_TRUE(fs::is_directory(folder / "deep/er/web/images"));
}

TEST_F(GalleryRunTest, SubfoldersStayInsideTheTarget) {
  settings.UseSubfolders = true;
  settings.ThumbFolder = "../../outside";
  settings.ImageFolder = "big/";
  EXPECT_EQ(run({photo("a.jpg")}).outcome, Outcome::Completed);
  EXPECT_EQ(settings.ThumbFolder, "outside");
  EXPECT_EQ(settings.ImageFolder, "big");
  EXPECT_TRUE(exists("outside/thumb_a.jpg"));
  EXPECT_TRUE(exists("big/medium_a.jpg"));
  EXPECT_FALSE(fs::exists(folder.path().parent_path() / "outside"));
}

TEST_F(GalleryRunTest, NothingToDoAndNothingTaken) {
  settings.FtpUpload = true;
  EXPECT_EQ(run({}, CandidateSource::DragList).outcome, Outcome::NothingToDo);
  EXPECT_EQ(prompter.shown().at(0).caption, "Nothing to do ..");
  EXPECT_NE(prompter.shown()[0].text.find("Drag and Drop file list."), std::string::npos);
  EXPECT_TRUE(has("ftp:" + settings.TargetFolder));
  const RunResult none = run({folder.write("src/x.jpg", "text")});
  EXPECT_EQ(none.outcome, Outcome::Completed);
  EXPECT_TRUE(none.files.empty());
  EXPECT_FALSE(exists("index.html"));
}

TEST_F(GalleryRunTest, CancelDuringImagesWritesNoPagesButStillCloses) {
  recorder.cancel = &cancel;
  recorder.cancelAt = 1;
  settings.FtpUpload = true;
  EXPECT_EQ(run({photo("a.jpg"), photo("b.jpg")}).outcome, Outcome::Cancelled);
  EXPECT_FALSE(exists("index.html"));
  EXPECT_FALSE(exists("thumb_b.jpg"));
  EXPECT_EQ(recorder.events.back(), "ftp:" + settings.TargetFolder);
  EXPECT_TRUE(has("main:Done"));
}

TEST_F(GalleryRunTest, HtmlOnlyWritesPagesForImagesThatAreNotThere) {
  settings.HTMLOnly = true;
  EXPECT_EQ(run({photo("a.jpg")}).outcome, Outcome::Completed);
  EXPECT_FALSE(exists("thumb_a.jpg"));
  EXPECT_TRUE(exists("index.html"));
  EXPECT_TRUE(exists("a.html"));
  EXPECT_NE(lines("index.html")[6].find("height=0 width=0"), std::string::npos);
}

TEST_F(GalleryRunTest, OverwriteAnswersCarryAcrossImagesAndIndexPages) {
  settings.Cols = settings.Rows = 1;
  const std::vector<fs::path> files{photo("a.jpg"), photo("b.jpg")};
  run(files);
  prompter.expect("thumb_a.jpg already exists", platform::Answer::Yes);
  prompter.expect("medium_a.jpg already exists", platform::Answer::No);
  prompter.expect("thumb_b.jpg already exists", platform::Answer::All);
  const RunResult result = run(files);
  EXPECT_EQ(result.skipped, std::vector<fs::path>{folder / "web/medium_a.jpg"});
  // "All" also answered the index pages; image pages never ask.
  EXPECT_EQ(prompter.asked().size(), 3u);
  options.cbReplaceExisting = true;
  run(files);
  EXPECT_EQ(prompter.asked().size(), 3u);
}

TEST_F(GalleryRunTest, AnErrorStillRunsTheClosingSteps) {
  struct FailingCodec : ImagingCodec {
    std::string encodeJpeg(const RgbImage&, int) override { throw Error("disk on fire"); }
  } failing;
  settings.FtpUpload = true;
  EXPECT_THROW(runGallery(settings, options, {photo("a.jpg")}, CandidateSource::TaggedFiles, cancel,
                          {prompter, recorder, meta, failing, folder / "data"}),
               Error);
  EXPECT_EQ(recorder.events.back(), "ftp:" + settings.TargetFolder);
}

}  // namespace
}  // namespace vistrel::gallery
