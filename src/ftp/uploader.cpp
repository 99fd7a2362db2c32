#include "ftp/uploader.h"

#include "ftp/clear_text_warning.h"
#include "ftp/ftp_client.h"
#include "ftp/password_cipher.h"
#include "platform/error.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace vistrel::ftp {

namespace fs = std::filesystem;

namespace {

const char* const kFolderExistsQuestion =
    "The remote target folder already exists.\n\n"
    "Existing files will be overwritten. Continue?\n\n"
    "(You can disable this warning under FTP options)";

FtpSettings settingsFor(const Site& site, const FtpOptions& options) {
  FtpSettings settings;
  settings.host = site.address;
  settings.port = sitePort(site);
  settings.user = site.user;
  settings.passive = options.passiveMode;
  settings.timeoutMs = options.timeoutSeconds * 1000;
  if (options.useProxy) {
    settings.proxyHost = options.proxy;
    settings.proxyPort = options.proxyPort;
  }
  return settings;
}

std::string kilobytes(std::uint64_t bytes) { return std::to_string(bytes / 1024); }

}  // namespace

Uploader::Uploader(platform::Prompter& prompter, UploadEvents events)
    : prompter_(prompter), events_(std::move(events)) {}

void Uploader::log(const std::string& line) const {
  if (events_.log) events_.log(line);
}

void Uploader::status(int panel, const std::string& text) const {
  if (events_.status) events_.status(panel, text);
}

void Uploader::stop() {
  stopped_ = true;
  std::lock_guard lock(mutex_);
  if (client_) client_->stop();
}

std::string Uploader::password(const Site& site) const {
  std::string plain = decipherPassword(site.passwordField);
  if (!plain.empty()) return plain;
  const auto answer = events_.askPassword ? events_.askPassword()
                                          : prompter_.input("Password", "Enter server password: ", "");
  return answer.value_or("");
}

void Uploader::disconnect(FtpClient& client) const {
  client.disconnect();
  log("Disconnected");
}

// Makes and enters the remote folder; gives a result when the upload ends here.
// A folder that holds an earlier upload of ours is no surprise when only the
// changes go up.
std::optional<UploadResult> Uploader::prepareFolder(FtpClient& client, const std::string& folder,
                                                    const FtpOptions& options, bool knownFolder) {
  client.setBinary(true);
  if (!client.makeDirectory(folder) && !stopped_) {
    log("Directory exists");
    if (options.promptOverwrite && !(options.onlyChanged && knownFolder) &&
        prompter_.ask(kFolderExistsQuestion, "Target folder exists", platform::Buttons::YesNo,
                      platform::Icon::Warning) != platform::Answer::Yes) {
      disconnect(client);
      return UploadResult::Declined;
    }
  }
  if (!stopped_ && !client.changeDirectory(folder) && !stopped_) {
    log("Cannot change to specified directory.");
    disconnect(client);
    prompter_.error("Cannot change to the specified directory.\n\nOperation aborted.", "FTP error");
    return UploadResult::CannotChangeDirectory;
  }
  if (!stopped_) return std::nullopt;
  disconnect(client);
  return UploadResult::Stopped;
}

// The manifest only saves work later: an upload goes on without it.
void Uploader::keepRecord(const std::function<void()>& change) {
  try {
    change();
  } catch (const Error& error) {
    log("The upload cannot be recorded: " + std::string(error.what()));
  }
}

UploadPlan Uploader::plan(FtpClient& client, const std::vector<UploadFile>& files, UploadManifest& manifest,
                          const FtpOptions& options) {
  if (!options.onlyChanged && !options.removeDeleted) return {files, {}, {}};
  if (manifest.files().empty()) {
    if (options.onlyChanged) log("No earlier upload to this folder is known: every file is sent.");
    return {files, {}, {}};
  }
  RemoteFolders remote;
  for (const std::string& folder : foldersToList(files, manifest)) {
    if (stopped_) break;
    remote[folder] = client.list(folder);
  }
  UploadPlan plan = planUpload(files, manifest, remote, options.onlyChanged, options.removeDeleted);
  for (const std::string& name : plan.forget) keepRecord([&] { manifest.forget(name); });
  if (options.onlyChanged) {
    const std::size_t unchanged = files.size() - plan.send.size();
    log(std::to_string(unchanged) + (unchanged == 1 ? " file is" : " files are") + " unchanged on the server.");
  }
  return plan;
}

UploadResult Uploader::sendFiles(FtpClient& client, const std::vector<UploadFile>& files, UploadManifest& manifest) {
  std::size_t sent = 0;
  std::string folderMade;
  for (const UploadFile& file : files) {
    if (!client.connected() || stopped_) break;
    const std::size_t slash = file.remote.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : file.remote.substr(0, slash);
    // A refused MKD means the folder is there; an upload into a missing one fails on its own.
    if (!folder.empty() && folder != folderMade) client.makeDirectory(folder);
    folderMade = folder;
    const std::string shown = platform::textFromFile(file.remote);
    status(0, "Uploading " + shown);
    // Taken before sending: a file that changes meanwhile goes again next time.
    std::optional<FileState> state;
    keepRecord([&] { state = fileState(file.local); });
    if (client.upload(file.local, file.remote)) {
      ++sent;
      log(shown + " has been uploaded.");
      if (state) keepRecord([&] { manifest.record(file.remote, *state); });
    }
  }
  log(std::to_string(sent) + " of " + std::to_string(files.size()) + " files uploaded.");
  if (stopped_) return UploadResult::Stopped;
  return sent == files.size() ? UploadResult::Done : UploadResult::Incomplete;
}

// Deletes files that this program uploaded and the local folder no longer has.
bool Uploader::removeFiles(FtpClient& client, const std::vector<std::string>& names, UploadManifest& manifest) {
  bool removedAll = true;
  for (const std::string& name : names) {
    if (!client.connected() || stopped_) return false;
    const std::string shown = platform::textFromFile(name);
    if (client.removeFile(name)) {
      log(shown + " has been deleted on the server.");
      keepRecord([&] { manifest.forget(name); });
    } else {
      log(shown + " could not be deleted on the server.");
      removedAll = false;
    }
  }
  return removedAll;
}

UploadResult Uploader::run(const Site& site, const fs::path& source, const FtpOptions& options) {
  FtpSettings settings = settingsFor(site, options);
  {
    platform::SettingsStore store;
    warnOfPasswordInClear(site, prompter_, store);
  }
  settings.password = password(site);
  const std::vector<UploadFile> files = uploadFiles(source);
  const std::string folder = remoteFolder(site.directory);

  FtpClient client(std::move(settings),
                   {[this](const std::string& line) { log(line); },
                    [this](std::uint64_t done, std::uint64_t total) {
                      status(1, kilobytes(done) + " of " + kilobytes(total) + " KB transferred");
                    },
                    [this](int number, const std::string& text) { log(std::to_string(number) + ": " + text); }});
  {
    std::lock_guard lock(mutex_);
    client_ = &client;
    if (stopped_) client.stop();
  }
  struct Release {
    Uploader& uploader;
    ~Release() {
      std::lock_guard lock(uploader.mutex_);
      uploader.client_ = nullptr;
    }
  } release{*this};

  if (!client.connect()) {
    log(stopped_ ? "Disconnected" : "Connection failed");
    return stopped_ ? UploadResult::Stopped : UploadResult::ConnectionFailed;
  }
  log("Connected to " + site.address + "..");
  UploadManifest manifest(site, folder);
  if (const auto ended = prepareFolder(client, folder, options, !manifest.files().empty())) return *ended;
  const UploadPlan work = plan(client, files, manifest, options);
  UploadResult result = sendFiles(client, work.send, manifest);
  if (result == UploadResult::Done && !removeFiles(client, work.remove, manifest)) {
    result = stopped_ ? UploadResult::Stopped : UploadResult::Incomplete;
  }
  status(0, "Done");
  status(1, "");
  disconnect(client);
  return result;
}

UploadResult uploadFolder(const std::string& siteName, const fs::path& folder, platform::Prompter& prompter,
                          UploadEvents events, const UploadOverrides& overrides) {
  SiteList sites;
  sites.load();
  const auto site = sites.find(siteName);
  if (!site) throw Error("There is no FTP server named \"" + siteName + "\" in " + siteListFile().string() + ".");
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw Error("Invalid source folder: " + folder.string());
  platform::SettingsStore store;
  FtpOptions options = readFtpOptions(store);
  options.onlyChanged = overrides.onlyChanged.value_or(options.onlyChanged);
  options.removeDeleted = overrides.removeDeleted.value_or(options.removeDeleted);
  return Uploader(prompter, std::move(events)).run(*site, folder, options);
}

}  // namespace vistrel::ftp
