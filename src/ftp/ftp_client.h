#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include "ftp/remote_listing.h"

namespace vistrel::ftp {

// How to reach a server. The host may carry a scheme: "ftps://host" asks for
// FTP with explicit TLS, "sftp://host" for SFTP; a bare host is plain FTP.
struct FtpSettings {
  std::string host;
  int port = 21;
  std::string user;
  std::string password;
  bool passive = true;
  int timeoutMs = 15000;
  std::string proxyHost;  // empty: no proxy, whatever the environment says
  int proxyPort = 0;
  // Certificates to trust for TLS besides the system's; $CURL_CA_BUNDLE when empty.
  std::string caFile;
};

// What the client reports while it works. Every callback may be empty.
struct FtpEvents {
  // Every command sent and every reply line received; PASS is masked.
  std::function<void(const std::string& line)> status;
  std::function<void(std::uint64_t sent, std::uint64_t total)> packetSent;
  // A failed operation: the library's error number and text.
  std::function<void(int number, const std::string& text)> error;
};

enum class Protocol { Ftp, FtpExplicitTls, Sftp };

// Splits "ftps://host" and "sftp://host" into protocol and host. Throws Error
// for SFTP when the installed library cannot speak it.
Protocol protocolOf(std::string& host);
bool sftpAvailable();

// The host keys of SFTP servers, in the program's configuration folder: the
// first connection to a server records its key, later ones must match it.
std::filesystem::path knownHostsFile();
// The key an SFTP login offers: the user's first of ~/.ssh/id_ed25519,
// id_ecdsa and id_rsa; empty for none.
std::string userKeyFile();

// One control connection to one server, on one libcurl easy handle that keeps
// the connection between requests. Operations block; each returns false (after
// an error event) when it fails. stop() may be called from any thread.
class FtpClient {
 public:
  FtpClient(FtpSettings settings, FtpEvents events);
  ~FtpClient();
  FtpClient(const FtpClient&) = delete;
  FtpClient& operator=(const FtpClient&) = delete;

  // Opens the control connection, logs in and asks for UTF-8 names where the
  // server offers them.
  bool connect();
  bool connected() const { return connected_; }
  void disconnect();

  void setBinary(bool binary) { binary_ = binary; }
  // Relative to the current remote folder, or absolute with a leading "/".
  bool makeDirectory(const std::string& name);
  bool changeDirectory(const std::string& name);
  // Stores the file under the name in the current remote folder; the name
  // may lead through sub-folders ("thumbnails/a.jpg") that exist there.
  bool upload(const std::filesystem::path& local, const std::string& remoteName);
  // Deletes a file of the current remote folder (or below it).
  bool removeFile(const std::string& name);
  // The entries of a folder below the current one ("" for the current one),
  // by MLSD where the server offers it and LIST otherwise; nothing when the
  // folder cannot be listed.
  std::optional<std::vector<RemoteEntry>> list(const std::string& name);

  // Ends the running operation at once, even one waiting for a silent server;
  // every later one fails.
  void stop();
  bool stopped() const { return stopped_; }

  const std::string& currentFolder() const { return folder_; }

 private:
  friend struct ClientCallbacks;
  void prepare(const std::string& url);
  bool perform();
  bool performQuote(const std::string& command);
  std::string url(const std::string& folder, const std::string& file = {}) const;
  std::string folderPath(const std::string& name) const;
  std::string sftpPath(const std::string& name) const;
  void reportLines(const char* data, std::size_t size);
  bool progress(std::uint64_t sent, std::uint64_t total);
  void removePartialFile(const std::string& name);
  void readFeatures();
  void copyHostKeys();
  void keepRecordedHostKey();

  FtpSettings settings_;
  FtpEvents events_;
  Protocol protocol_ = Protocol::Ftp;
  void* curl_ = nullptr;
  char errorText_[256] = {};
  std::string folder_;  // the current remote folder, relative to the login folder
  bool binary_ = true;
  bool connected_ = false;
  bool mlsd_ = false;  // the server offers MLSD
  std::string hostKeyRefusal_;  // why the SFTP server's key was refused
  std::filesystem::path hostKeysCopy_;  // what the library reads and records host keys in
  bool hostKeyRecorded_ = false;
  std::atomic<bool> ignoreStop_{false};
  std::mutex socketsMutex_;
  std::set<int> sockets_;  // open sockets of the client, to cut them on stop()
  std::uint64_t lastSent_ = 0;
  std::string replies_;  // the reply lines of the running request
  std::atomic<bool> stopped_{false};
};

}  // namespace vistrel::ftp
