#include "gallery/ui/gallery_runner.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "gallery/imaging_codec.h"
#include "gallery/ui/create_thumbnails.h"
#include "gallery/ui/thumb_form.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::gallery::ui {
namespace {

namespace fs = std::filesystem;
using Outcome = RunResult::Outcome;

// Answers every question with "No", and can cancel the run while it waits.
struct CancellingPrompter : platform::Prompter {
  GalleryRunner* runner = nullptr;
  std::vector<std::string> asked;
  platform::Answer ask(const std::string& text, const std::string&, platform::Buttons, platform::Icon) override {
    asked.push_back(text);
    if (runner) runner->cancel();
    return platform::Answer::No;
  }
  void show(const std::string&, const std::string&, platform::Icon) override {}
  std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

struct GalleryRunnerTest : ::testing::Test {
  test::IsolatedUser user;
  test::TempFolder folder;
  std::vector<QString> statusTexts;
  std::vector<fs::path> opened;
  std::vector<QString> ftpFolders;
  std::optional<RunResult> result;

  std::vector<fs::path> photos(int count) {
    ImagingCodec codec;
    std::vector<fs::path> files;
    for (int i = 0; i < count; ++i) {
      files.push_back(folder.write("src/p" + std::to_string(i) + ".jpg", codec.encodeJpeg(RgbImage(320, 240), 80)));
    }
    return files;
  }
  void watch(GalleryRunner& runner) {
    QObject::connect(&runner, &GalleryRunner::statusText, [this](const QString& t) { statusTexts.push_back(t); });
    QObject::connect(&runner, &GalleryRunner::finished, [this](const RunResult& r) { result = r; });
    runner.openDocument = [this](const fs::path& page) { opened.push_back(page); };
    runner.openFtp = [this](const QString& f) { ftpFolders.push_back(f); };
  }
  static bool waitForEnd(GalleryRunner& runner) {
    return QTest::qWaitFor([&] { return !runner.active(); }, 60000);
  }
};

TEST_F(GalleryRunnerTest, CreateThumbnailsFromTheWindowWritesTheGallery) {
  test::ScriptedPrompter prompter;
  TThumbFrm dialog(nullptr, &prompter);
  GalleryRunner runner(nullptr, &prompter);
  watch(runner);
  const fs::path out = folder / "out";
  dialog.cbHTMLOnly->setChecked(true);
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_FALSE(dialog.cbHTMLOnly->isChecked());
    dialog.Cols->setValue(2);
    dialog.Rows->setValue(1);
    dialog.editCaption->setText("Three photos");
    dialog.editTargetFolder->setText(QString::fromStdString(out.string()));
    dialog.cbFtpUpload->setChecked(true);
    dialog.btnCreate->click();
  });
  const auto files = photos(3);
  ASSERT_TRUE(createThumbnails(dialog, runner, files, CandidateSource::TaggedFiles, prompter));
  EXPECT_FALSE(runner.start(dialog.settings(), files, CandidateSource::TaggedFiles));  // one run at a time
  ASSERT_TRUE(waitForEnd(runner));

  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, Outcome::Completed);
  for (const char* name : {"index.html", "index2.html", "thumb_p0.jpg", "medium_p2.jpg"}) {
    EXPECT_TRUE(fs::exists(out / name)) << name;
  }
  EXPECT_EQ(opened, std::vector<fs::path>{out / "index.html"});
  EXPECT_EQ(ftpFolders, std::vector<QString>{QString::fromStdString(out.string())});
  ASSERT_FALSE(statusTexts.empty());
  EXPECT_EQ(statusTexts.front(), "Processing 3 file(s)");
  EXPECT_EQ(statusTexts.back(), "Done");
}

TEST_F(GalleryRunnerTest, WithoutFilesThereIsNothingToDo) {
  test::ScriptedPrompter prompter;
  TThumbFrm dialog(nullptr, &prompter);
  GalleryRunner runner(nullptr, &prompter);
  EXPECT_FALSE(createThumbnails(dialog, runner, {}, CandidateSource::TaggedFiles, prompter));
  EXPECT_FALSE(createThumbnails(dialog, runner, {}, CandidateSource::DragList, prompter));
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[0].caption, "Nothing to do ..");
  EXPECT_NE(prompter.shown()[0].text.find("using the checkboxes"), std::string::npos);
  EXPECT_NE(prompter.shown()[1].text.find("Drag and Drop file list"), std::string::npos);
  EXPECT_FALSE(runner.active());
}

TEST_F(GalleryRunnerTest, CancelStopsTheRunBeforeThePages) {
  CancellingPrompter prompter;
  GalleryRunner runner(nullptr, &prompter);
  prompter.runner = &runner;
  watch(runner);
  const fs::path out = folder / "out";
  folder.write("out/thumb_p0.jpg", "old");  // its question comes while the run goes on
  GallerySettings settings = GallerySettings::defaults();
  settings.TargetFolder = out.string();
  ASSERT_TRUE(runner.start(settings, photos(3), CandidateSource::TaggedFiles));
  ASSERT_NE(runner.statusForm(), nullptr);
  EXPECT_EQ(runner.statusForm()->windowTitle(), "Please wait ..");
  ASSERT_TRUE(waitForEnd(runner));

  ASSERT_TRUE(result);
  EXPECT_EQ(result->outcome, Outcome::Cancelled);
  EXPECT_EQ(prompter.asked.size(), 1u);
  EXPECT_FALSE(fs::exists(out / "index.html"));
  EXPECT_FALSE(fs::exists(out / "thumb_p1.jpg"));
  EXPECT_NE(std::find(statusTexts.begin(), statusTexts.end(), "Operation aborted"), statusTexts.end());
  EXPECT_EQ(statusTexts.back(), "Cancelled (0 of 3 photos made)");
  EXPECT_TRUE(opened.empty());
}

TEST_F(GalleryRunnerTest, TheClosingSummaryNamesThePhotosThatCouldNotBeMade) {
  test::ScriptedPrompter prompter;
  GalleryRunner runner(nullptr, &prompter);
  watch(runner);
  std::vector<fs::path> files = photos(2);
  const std::string whole = platform::readFile(files[1]);
  folder.write("src/p1.jpg", whole.substr(0, whole.size() * 3 / 4));
  GallerySettings settings = GallerySettings::defaults();
  settings.TargetFolder = (folder / "out").string();
  ASSERT_TRUE(runner.start(settings, files, CandidateSource::TaggedFiles));
  ASSERT_TRUE(waitForEnd(runner));
  ASSERT_TRUE(result);
  ASSERT_EQ(result->failed.size(), 1u);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "Warning");
  EXPECT_NE(prompter.shown()[0].text.find(files[1].string() + ": "), std::string::npos) << prompter.shown()[0].text;
  EXPECT_EQ(statusTexts.back(), "Done");
}

TEST_F(GalleryRunnerTest, ClosingWhileTheWorkerWaitsForAnAnswerServesItAndEnds) {
  CancellingPrompter prompter;
  const fs::path out = folder / "out";
  folder.write("out/thumb_p0.jpg", "old");
  GallerySettings settings = GallerySettings::defaults();
  settings.TargetFolder = out.string();
  {
    GalleryRunner runner(nullptr, &prompter);
    ASSERT_TRUE(runner.start(settings, photos(3), CandidateSource::TaggedFiles));
    // Give the worker time to reach the overwrite question, which waits for this thread.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  EXPECT_LE(prompter.asked.size(), 1u);
  EXPECT_FALSE(fs::exists(out / "index.html"));
}

TEST(StatusFormTest, ShowsTheImageBeingProcessed) {
  TStatusForm form;
  form.start(3);
  form.progress(2, 3, "/photos/b.jpg");
  EXPECT_EQ(form.PathLabel->text(), "/photos/b.jpg");
  EXPECT_EQ(form.ProgressBar->value(), 2);
  EXPECT_EQ(form.PercentLabel->text(), "67 %");
  EXPECT_EQ(form.StatusLabel->text(), "Processing 2 of 3");
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(form.isModal());
  EXPECT_EQ(form.btnCancel->text(), "&Cancel");
}

TEST(StatusFormTest, PercentRoundsHalfToEven) {
  EXPECT_EQ(percentText(1, 8), "12 %");   // 12.5
  EXPECT_EQ(percentText(3, 8), "38 %");   // 37.5
  EXPECT_EQ(percentText(1, 3), "33 %");
  EXPECT_EQ(percentText(3, 3), "100 %");
}

}  // namespace
}  // namespace vistrel::gallery::ui
