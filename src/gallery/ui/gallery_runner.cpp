#include "gallery/ui/gallery_runner.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "ftp/ui/ftp_form.h"
#include "gallery/file_metadata.h"
#include "gallery/imaging_codec.h"
#include "gallery/run_options.h"
#include "gallery/ui/status_form.h"
#include "platform/error.h"
#include "platform/log.h"
#include "platform/program_data.h"
#include "platform/settings_store.h"
#include "platform/ui/message_box_prompter.h"

namespace vistrel::gallery::ui {

namespace fs = std::filesystem;

namespace {

// The closing summary of a run whose photos were not all made.
std::string failedPhotosText(const std::vector<FileProblem>& failed) {
  std::string text = "These photos could not be made and are left out of the pages:\n";
  for (const FileProblem& problem : failed) text += "\n" + problem.file.string() + ": " + problem.reason;
  return text;
}

}  // namespace

// Called on the worker thread; every call is queued to the runner's thread.
class GalleryRunner::Observer : public RunObserver {
 public:
  explicit Observer(GalleryRunner& runner) : runner_(runner) {}

  void mainStatus(const std::string& text) override {
    post([this, text] { emit runner_.statusText(QString::fromStdString(text)); });
  }
  void showProgress(int total) override {
    post([this, total] {
      if (!runner_.statusForm_) return;
      runner_.statusForm_->start(total);
      runner_.statusForm_->show();
    });
  }
  void progress(int position, int total, const fs::path& source) override {
    post([this, position, total, path = QString::fromStdString(source.string())] {
      if (runner_.statusForm_) runner_.statusForm_->progress(position, total, path);
    });
  }
  void status(const std::string& text) override {
    post([this, text] {
      if (runner_.statusForm_) runner_.statusForm_->StatusLabel->setText(QString::fromStdString(text));
    });
  }
  void pathShown(const fs::path& path) override {
    post([this, p = QString::fromStdString(path.string())] {
      if (runner_.statusForm_) runner_.statusForm_->PathLabel->setText(p);
    });
  }
  void fileLeftOut(const FileProblem& problem) override {
    log::info("Left out " + problem.file.string() + ": " + problem.reason);
  }
  void photoFailed(const FileProblem& problem) override {
    log::warning("Could not make " + problem.file.string() + ": " + problem.reason);
  }
  void closeProgress() override {
    post([this] {
      if (runner_.statusForm_) runner_.statusForm_->hide();
    });
  }
  void openDocument(const fs::path& page) override {
    post([this, page] { runner_.openDocument(page); });
  }
  void ftpUpload(const std::string& folder) override {
    post([this, folder] { runner_.openFtp(QString::fromStdString(folder)); });
  }

 private:
  void post(std::function<void()> call) { QMetaObject::invokeMethod(&runner_, std::move(call), Qt::QueuedConnection); }

  GalleryRunner& runner_;
};

GalleryRunner::GalleryRunner(QWidget* window, platform::Prompter* prompter, platform::SettingsStore* store,
                             fs::path programData)
    : QObject(window),
      window_(window),
      ownPrompter_(prompter ? nullptr : std::make_unique<platform::ui::MessageBoxPrompter>(window)),
      prompter_(prompter ? *prompter : *ownPrompter_),
      workerPrompter_(std::make_unique<platform::ui::GuiThreadPrompter>(prompter_, this)),
      observer_(std::make_unique<Observer>(*this)),
      store_(store),
      programData_(std::move(programData)) {
  openDocument = [](const fs::path& page) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string())));
  };
  openFtp = [this](const QString& folder) { ftp::ui::showFtpUpload(window_, folder); };
}

GalleryRunner::~GalleryRunner() {
  cancel_ = true;
  platform::ui::joinWhileServing(worker_, workerDone_);
}

bool GalleryRunner::start(const GallerySettings& settings, std::vector<fs::path> candidates, CandidateSource from) {
  if (active_) return false;
  fs::path programData;
  RunOptions options;
  try {
    programData = programData_.empty() ? platform::ensureProgramData() : programData_;
    if (store_) {
      options = readRunOptions(*store_, programData);
    } else {
      platform::SettingsStore store;
      options = readRunOptions(store, programData);
    }
  } catch (const Error& e) {
    prompter_.error(e.what(), "Error");
    return false;
  }
  // The window never removes files without asking.
  if (options.onlyChanged) options.prune = Prune::Ask;
  if (worker_.joinable()) worker_.join();
  active_ = true;
  cancel_ = false;
  workerDone_ = false;
  delete statusForm_;
  statusForm_ = new TStatusForm(window_);
  connect(statusForm_, &TStatusForm::cancelRequested, this, &GalleryRunner::cancel);
  worker_ = std::thread([this, s = settings, options, programData, candidates = std::move(candidates), from]() mutable {
    RunResult result;
    try {
      FileMetadata metadata;
      ImagingCodec codec;
      result = runGallery(s, options, candidates, from, cancel_,
                          {*workerPrompter_, *observer_, metadata, codec, programData,
                           std::max(1u, std::thread::hardware_concurrency())});
    } catch (const std::exception& e) {
      result.outcome = RunResult::Outcome::Refused;
      result.message = e.what();
      QMetaObject::invokeMethod(this, [this, text = std::string(e.what())] { prompter_.error(text, "Error"); },
                                Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(this, [this, result] { ended(result); }, Qt::QueuedConnection);
    workerDone_ = true;
  });
  return true;
}

void GalleryRunner::cancel() {
  if (!active_ || cancel_) return;
  cancel_ = true;
  emit statusText("Operation aborted");
  if (statusForm_) statusForm_->hide();
}

void GalleryRunner::ended(const RunResult& result) {
  if (worker_.joinable()) worker_.join();
  delete statusForm_;
  active_ = false;
  if (!result.failed.empty()) prompter_.warn(failedPhotosText(result.failed), "Warning");
  emit finished(result);
}

}  // namespace vistrel::gallery::ui
