#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ftp/ftp_options.h"
#include "ftp/site_list.h"
#include "ftp/source_folder.h"
#include "ftp/upload_manifest.h"
#include "ftp/upload_plan.h"
#include "platform/prompter.h"

namespace vistrel::ftp {

class FtpClient;

// How the upload reports to its window or terminal. Every callback may be empty.
struct UploadEvents {
  std::function<void(const std::string& line)> log;
  // The two panels of the status bar: 0 the file, 1 the transfer progress.
  std::function<void(int panel, const std::string& text)> status;
  // Asks for the password of a site that stores none; nothing = cancelled.
  // When empty, the prompter's input box asks.
  std::function<std::optional<std::string>()> askPassword;
};

enum class UploadResult {
  Done,                   // every file was sent
  Incomplete,             // some files failed or were skipped after a disconnect (a failure)
  ConnectionFailed,       // no connection or no login
  Declined,               // the user did not want to overwrite the remote folder
  CannotChangeDirectory,  // the remote folder could not be entered
  Stopped,                // stop() ended it
};

// Sends the files of a local folder (see uploadFiles) to the site's remote
// folder, making the sub-folders there as they come. Every file sent is
// recorded in the folder's upload manifest, which the options "only new and
// changed files" and "remove files deleted locally" go by.
// One object serves one upload at a time; stop() may come from any thread,
// also before run() has begun, and a stopped uploader stays stopped.
class Uploader {
 public:
  Uploader(platform::Prompter& prompter, UploadEvents events);

  // Throws Error before connecting when the site's password field or port is
  // damaged, or when the source folder cannot be read.
  UploadResult run(const Site& site, const std::filesystem::path& source, const FtpOptions& options);
  void stop();

 private:
  std::string password(const Site& site) const;
  void log(const std::string& line) const;
  void status(int panel, const std::string& text) const;
  void disconnect(FtpClient& client) const;
  std::optional<UploadResult> prepareFolder(FtpClient& client, const std::string& folder,
                                            const FtpOptions& options, bool knownFolder);
  UploadPlan plan(FtpClient& client, const std::vector<UploadFile>& files, UploadManifest& manifest,
                  const FtpOptions& options);
  UploadResult sendFiles(FtpClient& client, const std::vector<UploadFile>& files, UploadManifest& manifest);
  bool removeFiles(FtpClient& client, const std::vector<std::string>& names, UploadManifest& manifest);
  void keepRecord(const std::function<void()>& change);

  platform::Prompter& prompter_;
  UploadEvents events_;
  std::mutex mutex_;
  FtpClient* client_ = nullptr;  // the running upload's client, for stop()
  std::atomic<bool> stopped_{false};
};

// Choices of a command line that replace the stored options for one upload.
struct UploadOverrides {
  std::optional<bool> onlyChanged;
  std::optional<bool> removeDeleted;
};

// Uploads a folder to the site of "ftp.dat" with this description, with the
// options of the upload dialog. For the gallery run and the command line.
// Throws Error for an unknown site or a source folder that does not exist.
UploadResult uploadFolder(const std::string& siteName, const std::filesystem::path& folder,
                          platform::Prompter& prompter, UploadEvents events, const UploadOverrides& overrides = {});

}  // namespace vistrel::ftp
