#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <map>

#include "gallery/gallery_names.h"
#include "gallery/imaging_codec.h"
#include "gallery/gallery_run.h"
#include "page_fixture.h"
#include "platform/files.h"

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
  void openDocument(const fs::path& page) override { events.push_back("open:" + page.filename().string()); }
  void photoFailed(const FileProblem& problem) override { events.push_back("failed:" + problem.file.filename().string()); }
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
                                                       "Creating web pages...", "main:Done",
                                                       "open:index.html"}));
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

TEST_F(GalleryRunTest, NothingToDoAndNothingTaken) {
  settings.FtpUpload = true;
  EXPECT_EQ(run({}, CandidateSource::DragList).outcome, Outcome::NothingToDo);
  EXPECT_EQ(prompter.shown().at(0).caption, "Nothing to do ..");
  EXPECT_NE(prompter.shown()[0].text.find("Drag and Drop file list."), std::string::npos);
  EXPECT_TRUE(has("ftp:" + settings.TargetFolder));
  const RunResult none = run({folder.write("src/x.jpg", "text"), folder.write("src/empty.jpg", "")});
  EXPECT_EQ(none.outcome, Outcome::Completed);
  EXPECT_TRUE(none.files.empty());
  ASSERT_EQ(none.leftOut.size(), 2u);
  EXPECT_EQ(none.leftOut[0].reason, "It is not a picture the program can read.");
  EXPECT_FALSE(none.succeeded());
  EXPECT_TRUE(none.firstIndexPage.empty());
  EXPECT_FALSE(exists("index.html"));
}

TEST_F(GalleryRunTest, CancelDuringImagesWritesNoPagesButStillCloses) {
  recorder.cancel = &cancel;
  recorder.cancelAt = 1;
  settings.FtpUpload = true;
  settings.OpenHTML = true;
  EXPECT_EQ(run({photo("a.jpg"), photo("b.jpg")}).outcome, Outcome::Cancelled);
  EXPECT_FALSE(exists("index.html"));
  EXPECT_FALSE(exists("thumb_b.jpg"));
  EXPECT_EQ(recorder.events.back(), "ftp:" + settings.TargetFolder);
  EXPECT_TRUE(has("main:Cancelled (0 of 2 photos made)"));
  EXPECT_FALSE(has("open"));
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
  // An error that is not about one photo stops the run.
  struct FailingCodec : ImagingCodec {
    std::string encodeJpeg(const RgbImage&, int) override { throw std::logic_error("encoder broken"); }
  } failing;
  settings.FtpUpload = true;
  EXPECT_THROW(runGallery(settings, options, {photo("a.jpg")}, CandidateSource::TaggedFiles, cancel,
                          {prompter, recorder, meta, failing, folder / "data"}),
               std::logic_error);
  EXPECT_EQ(recorder.events.back(), "ftp:" + settings.TargetFolder);
}

}  // namespace
}  // namespace vistrel::gallery

namespace vistrel::gallery {
namespace {

// The links of every page in the folder that lead to no file: each src= and
// href= value, HTML entities and %20 undone, taken relative to the folder.
std::vector<std::string> brokenLinks(const fs::path& web) {
  std::vector<std::string> broken;
  for (const auto& entry : fs::directory_iterator(web)) {
    if (entry.path().extension() != ".html") continue;
    const std::string page = platform::readFile(entry.path());
    for (const char* attribute : {"src=\"", "href=\""}) {
      for (std::size_t at = page.find(attribute); at != std::string::npos; at = page.find(attribute, at + 1)) {
        const std::size_t start = at + std::string(attribute).size();
        std::string link = page.substr(start, page.find('"', start) - start);
        if (link.find("://") != std::string::npos) continue;
        for (const auto& [from, to] : {std::pair{"%20", " "}, {"&amp;", "&"}}) {
          for (std::size_t i = link.find(from); i != std::string::npos; i = link.find(from, i + 1)) {
            link.replace(i, std::string(from).size(), to);
          }
        }
        if (!fs::exists(web / link)) broken.push_back(entry.path().filename().string() + ": " + link);
      }
    }
  }
  return broken;
}

// Every regular file below the folder, by path, with its bytes.
std::map<fs::path, std::string> filesBelow(const fs::path& root) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files[entry.path()] = platform::readFile(entry.path());
  }
  return files;
}

TEST_F(GalleryRunTest, HostileDesignValuesWriteNothingOutsideTheTarget) {
  const fs::path a = photo("a.jpg");
  const fs::path web = folder / "deep/er/web";
  options.cbReplaceExisting = true;
  const std::string values[] = {"../../victim", "../", (folder / "outside/x_").string(), "..", "a\x01\x1b[1m\nb", ""};
  for (std::string GallerySettings::*field : {&GallerySettings::Filename, &GallerySettings::ThumbPrefix,
                                              &GallerySettings::MediumPrefix, &GallerySettings::ThumbFolder,
                                              &GallerySettings::ImageFolder}) {
    for (const std::string& value : values) {
      settings = GallerySettings::defaults();
      settings.TargetFolder = web.string();
      settings.UseSubfolders = true;
      settings.*field = value;
      EXPECT_EQ(run({a}).outcome, Outcome::Completed) << value;
    }
  }
  for (const auto& [file, bytes] : filesBelow(folder.path())) {
    EXPECT_TRUE(platform::liesInside(file, web) || file == a) << file;
    const std::string name = fs::relative(file, folder.path()).string();
    EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        << name;
  }
}

TEST_F(GalleryRunTest, ASubfolderLinkedOutOfTheTargetIsRefusedBeforeAnythingIsWritten) {
  fs::create_directories(folder / "elsewhere");
  fs::create_directory_symlink(folder / "elsewhere", folder / "web/thumbnails");
  settings.UseSubfolders = true;
  const RunResult result = run({photo("a.jpg")});
  EXPECT_EQ(result.outcome, Outcome::Refused);
  EXPECT_NE(result.message.find("outside the target folder"), std::string::npos) << result.message;
  EXPECT_TRUE(fs::is_empty(folder / "elsewhere"));
  EXPECT_FALSE(exists("index.html"));
}

TEST_F(GalleryRunTest, TargetIsSourceNeverReplacesAPhotoNorTakesTheGalleryBack) {
  struct Case {
    std::string thumbPrefix, mediumPrefix;
    bool subfolders;
    LinkMode mode;
    bool refused;  // an output would be a photo
  };
  const Case cases[] = {{"thumb_", "medium_", false, LinkMode::MediumFormat, false},
                        {"", "", true, LinkMode::MediumFormat, false},
                        {"thumb_", "medium_", false, LinkMode::CopyOriginal, false},
                        {"", "medium_", false, LinkMode::MediumFormat, true},
                        {"thumb_", "", false, LinkMode::MediumFormat, true}};
  options.cbReplaceExisting = true;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const fs::path source = folder / ("case" + std::to_string(i));
    for (const char* name : {"p1.jpg", "p2.jpg", "p3.png"}) folder.write(source.filename() / name, platform::readFile(photo(name)));
    const auto photos = filesBelow(source);
    settings = GallerySettings::defaults();
    settings.TargetFolder = source.string();
    settings.ThumbPrefix = cases[i].thumbPrefix;
    settings.MediumPrefix = cases[i].mediumPrefix;
    settings.UseSubfolders = cases[i].subfolders;
    settings.linkMode = cases[i].mode;
    std::size_t count = 0;
    for (int round = 1; round <= 3; ++round) {
      std::vector<fs::path> everything;
      for (const auto& [file, bytes] : filesBelow(source)) everything.push_back(file);
      const RunResult result = run(everything);
      EXPECT_EQ(result.outcome, cases[i].refused ? Outcome::Refused : Outcome::Completed) << i;
      EXPECT_EQ(result.files.size(), 3u) << i << " round " << round;
      const auto now = filesBelow(source);
      for (const auto& [file, bytes] : photos) EXPECT_EQ(now.at(file), bytes) << file;
      if (round == 1) count = now.size();
      EXPECT_EQ(now.size(), count) << i << " round " << round;
    }
    EXPECT_EQ(count == photos.size(), cases[i].refused) << i;
  }
}

TEST_F(GalleryRunTest, APhotoThatDoesNotDecodeIsNamedAndLeftOutOfThePages) {
  RgbImage noise(300, 200);
  for (std::size_t i = 0; i < noise.pixels.size(); ++i) noise.pixels[i] = static_cast<std::uint8_t>(i * 7 % 251);
  const std::string whole = codec.encodeJpeg(noise, 90);
  const fs::path a = photo("a.jpg"), c = photo("c.jpg");
  const fs::path b = folder.write("src/b.jpg", whole.substr(0, whole.size() / 2));
  settings.Cols = settings.Rows = 1;
  const RunResult result = run({a, b, c});
  EXPECT_EQ(result.outcome, Outcome::Completed);
  ASSERT_EQ(result.failed.size(), 1u);
  EXPECT_EQ(result.failed[0].file, b);
  EXPECT_FALSE(result.failed[0].reason.empty());
  EXPECT_EQ(result.made, 2u);
  EXPECT_FALSE(result.succeeded());
  EXPECT_TRUE(has("failed:b.jpg"));
  EXPECT_FALSE(exists("thumb_b.jpg") || exists("b.html") || exists("index3.html"));
  EXPECT_EQ(brokenLinks(folder / "web"), std::vector<std::string>{});
}

TEST_F(GalleryRunTest, PipesSocketsAndMissingFilesAreLeftOutAndTheRunEnds) {
  const fs::path a = photo("a.jpg"), pipe = folder / "src/b.jpg", socketFile = folder / "src/c.jpg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketFile.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const RunResult result = run({pipe, a, socketFile, folder / "src/gone.jpg"});
  ::close(fd);
  EXPECT_TRUE(result.succeeded());
  EXPECT_EQ(result.files, std::vector<fs::path>{a});
  ASSERT_EQ(result.leftOut.size(), 3u);
  EXPECT_EQ(result.leftOut[0].file, pipe);
  EXPECT_NE(result.leftOut[0].reason.find("not a regular file"), std::string::npos);
  EXPECT_EQ(result.leftOut[2].reason, "The file does not exist.");
}

TEST_F(GalleryRunTest, OneNameWithOtherExtensionsGivesDistinctImagesPagesAndLinks) {
  const fs::path wide = photo("a.jpg", 300, 200), tall = photo("a.JPG", 200, 300), square = photo("a.png", 240, 240);
  const RunResult result = run({wide, tall, square});
  EXPECT_TRUE(result.succeeded());
  EXPECT_EQ(codec.headerSize(folder / "web/thumb_a.jpg"), (ImageSize{150, 100}));
  EXPECT_EQ(codec.headerSize(folder / "web/thumb_a_2.jpg"), (ImageSize{100, 150}));
  EXPECT_EQ(codec.headerSize(folder / "web/thumb_a_3.jpg"), (ImageSize{150, 150}));
  const std::string index = platform::readFile(folder / "web/index.html");
  for (const char* cell : {"<a href=\"a.html\"><img src=\"thumb_a.jpg\"", "<a href=\"a_2.html\"><img src=\"thumb_a_2.jpg\"",
                           "<a href=\"a_3.html\"><img src=\"thumb_a_3.jpg\""}) {
    EXPECT_NE(index.find(cell), std::string::npos) << cell;
  }
  EXPECT_NE(platform::readFile(folder / "web/a_2.html").find("<img src=\"medium_a_2.jpg\""), std::string::npos);
  EXPECT_EQ(brokenLinks(folder / "web"), std::vector<std::string>{});
}

TEST_F(GalleryRunTest, TheWindowsUpdateAsksBeforeItRemovesTheFilesOfRemovedPhotos) {
  const fs::path a = photo("a.jpg"), b = photo("b.jpg");
  run({a, b});
  options.onlyChanged = true;
  options.prune = Prune::Ask;
  for (const auto answer : {platform::Answer::No, platform::Answer::Yes}) {
    prompter.expect("Remove the 3 files of earlier runs that are no longer part of the gallery?", answer);
    EXPECT_TRUE(run({a}).succeeded());
    EXPECT_EQ(exists("thumb_b.jpg") && exists("medium_b.jpg") && exists("b.html"), answer == platform::Answer::No);
  }
  EXPECT_TRUE(exists("thumb_a.jpg") && exists("a.html"));
  EXPECT_EQ(prompter.asked().size(), 2u);
}

TEST_F(GalleryRunTest, OnlyAnUpdateReplacesItsCopyOfAChangedPhoto) {
  settings.linkMode = LinkMode::CopyOriginal;
  options.cbReplaceExisting = true;  // pages and thumbnails: copies are never replaced without an update
  for (const bool onlyChanged : {false, true}) {
    fs::remove_all(folder / "web");
    const fs::path a = photo("a.jpg");
    options.onlyChanged = false;
    run({a});
    const fs::path changed = folder.write("src/a.jpg", codec.encodeJpeg(RgbImage(40, 30), 80));
    options.onlyChanged = onlyChanged;
    EXPECT_TRUE(run({a}).succeeded());
    EXPECT_EQ(platform::sameContent(changed, folder / "web/a.jpg"), onlyChanged);
  }
}

TEST(GalleryPhotosTest, ACollidingNameTakesTheFirstSuffixNoPhotoOrIndexPageHas) {
  const auto photos = galleryPhotos(GallerySettings{}, {"/p/a.jpg", "/q/a.jpg", "/p/a.JPG", "/p/a_2.jpg",
                                                        "/p/index.png", "/p/b\x01.jpg", "/p/c\\d.jpg"});
  std::vector<std::string> stems, copies;
  for (const GalleryPhoto& photo : photos) {
    stems.push_back(photo.stem);
    copies.push_back(photo.copyName);
  }
  EXPECT_EQ(stems, (std::vector<std::string>{"a", "a_3", "a_4", "a_2", "index_2", "b", "d"}));
  EXPECT_EQ(copies, (std::vector<std::string>{"a.jpg", "a_3.jpg", "a.JPG", "a_2.jpg", "index.png", "b.jpg", "d.jpg"}));
}

}  // namespace
}  // namespace vistrel::gallery
