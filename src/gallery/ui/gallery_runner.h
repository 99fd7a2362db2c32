#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "gallery/gallery_run.h"
#include "gallery/gallery_settings.h"
#include "gallery/ui/status_form.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

class QWidget;

namespace vistrel::gallery::ui {

// Runs a gallery on a worker thread so the window stays live: the progress
// window, status texts and the engine's questions come back to this thread.
// One run at a time.
class GalleryRunner : public QObject {
  Q_OBJECT

 public:
  // Without a prompter, messages and questions are message boxes over `window`;
  // without a store, the program options come from the user's settings file;
  // without a folder, the program data folder is used (and set up).
  explicit GalleryRunner(QWidget* window, platform::Prompter* prompter = nullptr,
                         platform::SettingsStore* store = nullptr, std::filesystem::path programData = {});
  // Cancels a running gallery and waits for it, answering its questions meanwhile.
  ~GalleryRunner() override;

  // False (and nothing happens) while a run is active.
  bool start(const GallerySettings& settings, std::vector<std::filesystem::path> candidates, CandidateSource from);
  bool active() const { return active_; }
  void cancel();
  // The progress window of the active run, or null.
  TStatusForm* statusForm() const { return statusForm_; }

  // Opens the first index page; the default is the desktop's browser.
  std::function<void(const std::filesystem::path&)> openDocument;
  // Hands the finished folder to the upload dialog; the default shows TFtpForm.
  std::function<void(const QString& folder)> openFtp;

 signals:
  // The text for the main window's status bar.
  void statusText(const QString& text);
  void finished(const vistrel::gallery::RunResult& result);

 private:
  class Observer;

  void ended(const RunResult& result);

  QPointer<QWidget> window_;
  std::unique_ptr<platform::Prompter> ownPrompter_;
  platform::Prompter& prompter_;
  std::unique_ptr<platform::Prompter> workerPrompter_;
  std::unique_ptr<Observer> observer_;
  platform::SettingsStore* store_;
  std::filesystem::path programData_;
  QPointer<TStatusForm> statusForm_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> workerDone_{true};
  bool active_ = false;
  std::thread worker_;
};

}  // namespace vistrel::gallery::ui
