#include "ftp/ftp_client.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/atomic_file.h"
#include "platform/curl_setup.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/program_data.h"
#include "platform/text.h"

namespace vistrel::ftp {
namespace {

constexpr std::string_view kFtpsScheme = "ftps://";
constexpr std::string_view kSftpScheme = "sftp://";
constexpr std::string_view kFtpScheme = "ftp://";

std::string escaped(CURL* curl, std::string_view text) {
  std::unique_ptr<char, decltype(&curl_free)> out(
      curl_easy_escape(curl, text.data(), static_cast<int>(text.size())), curl_free);
  if (!out) throw Error("Out of memory");
  return out.get();
}

// Escapes each segment of a path and keeps the separators.
std::string escapedPath(CURL* curl, std::string_view path) {
  std::string out;
  std::size_t start = 0;
  while (true) {
    const auto end = path.find('/', start);
    out += escaped(curl, path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return out;
    out += '/';
    start = end + 1;
  }
}

struct SList {
  curl_slist* list = nullptr;
  ~SList() { curl_slist_free_all(list); }
};

}  // namespace

struct ClientCallbacks {
  static int debug(CURL*, curl_infotype type, char* data, std::size_t size, void* client) {
    if (type == CURLINFO_HEADER_IN || type == CURLINFO_HEADER_OUT) {
      static_cast<FtpClient*>(client)->reportLines(data, size);
    }
    if (type == CURLINFO_HEADER_IN) static_cast<FtpClient*>(client)->replies_.append(data, size);
    return 0;
  }
  // Sockets are opened here so that stop() can shut them down from another
  // thread: that wakes curl from any wait on the server.
  static curl_socket_t openSocket(void* client, curlsocktype, curl_sockaddr* address) {
    auto* self = static_cast<FtpClient*>(client);
    const int fd = ::socket(address->family, address->socktype, address->protocol);
    if (fd < 0) return CURL_SOCKET_BAD;
    std::lock_guard lock(self->socketsMutex_);
    self->sockets_.insert(fd);
    if (self->stopped_ && !self->ignoreStop_) ::shutdown(fd, SHUT_RDWR);
    return fd;
  }
  static int closeSocket(void* client, curl_socket_t fd) {
    auto* self = static_cast<FtpClient*>(client);
    std::lock_guard lock(self->socketsMutex_);
    self->sockets_.erase(fd);
    return ::close(fd);
  }
  static std::size_t collect(char* data, std::size_t, std::size_t size, void* text) {
    static_cast<std::string*>(text)->append(data, size);
    return size;
  }
  // Known keys must match; the first key of a server is recorded, as a
  // terminal client does on first contact, and said so in the log.
  static int hostKey(CURL*, const curl_khkey*, const curl_khkey*, curl_khmatch match, void* client) {
    auto* self = static_cast<FtpClient*>(client);
    const std::string server = self->settings_.host + ":" + std::to_string(self->settings_.port);
    const std::string file = platform::displayName(knownHostsFile());
    if (match == CURLKHMATCH_OK) return CURLKHSTAT_FINE;
    if (match == CURLKHMATCH_MISSING) {
      if (self->events_.status) {
        self->events_.status("First connection to " + server + ": its host key is now recorded in " + file +
                             ", and a later connection is refused if the key changes.");
      }
      self->hostKeyRecorded_ = true;
      return CURLKHSTAT_FINE_ADD_TO_FILE;
    }
    self->hostKeyRefusal_ = "The host key of " + server + " differs from the one recorded in " + file +
                            ": the connection is refused, as another machine may pose as the server. If the "
                            "server's key was changed on purpose, delete the line of this server from that file.";
    return CURLKHSTAT_REJECT;
  }
  static int progress(void* client, curl_off_t, curl_off_t, curl_off_t ulTotal, curl_off_t ulNow) {
    return static_cast<FtpClient*>(client)->progress(static_cast<std::uint64_t>(ulNow),
                                                     static_cast<std::uint64_t>(ulTotal))
               ? 0
               : 1;
  }
};

bool sftpAvailable() {
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  for (const char* const* protocol = info->protocols; protocol && *protocol; ++protocol) {
    if (std::strcmp(*protocol, "sftp") == 0) return true;
  }
  return false;
}

Protocol protocolOf(std::string& host) {
  auto strip = [&host](std::string_view scheme) {
    if (host.size() < scheme.size() || !std::equal(scheme.begin(), scheme.end(), host.begin(), [](char a, char b) {
          return a == std::tolower(static_cast<unsigned char>(b));
        })) {
      return false;
    }
    host.erase(0, scheme.size());
    while (host.ends_with('/')) host.pop_back();
    return true;
  };
  if (strip(kFtpsScheme)) return Protocol::FtpExplicitTls;
  if (strip(kSftpScheme)) {
    if (!sftpAvailable()) throw Error("SFTP is not supported by the installed network library.");
    return Protocol::Sftp;
  }
  strip(kFtpScheme);
  return Protocol::Ftp;
}

FtpClient::FtpClient(FtpSettings settings, FtpEvents events)
    : settings_(std::move(settings)), events_(std::move(events)) {
  protocol_ = protocolOf(settings_.host);
  curl_ = platform::newCurlHandle();
}

FtpClient::~FtpClient() {
  curl_easy_cleanup(curl_);
  std::error_code ec;
  if (!hostKeysCopy_.empty()) std::filesystem::remove(hostKeysCopy_, ec);
}

// The library records a host key by writing the whole file again from its
// first byte, which a crash would leave cut short with every key in it: it
// gets a copy, which replaces the file whole once the key is in it.
void FtpClient::copyHostKeys() {
  const std::filesystem::path file = knownHostsFile();
  hostKeysCopy_ = file.parent_path() / (".vistrel-tmp-known_hosts-" + std::to_string(::getpid()) + "-" +
                                         std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  std::error_code ec;
  std::filesystem::remove(hostKeysCopy_, ec);
  if (std::filesystem::exists(file, ec)) std::filesystem::copy_file(file, hostKeysCopy_, ec);
}

void FtpClient::keepRecordedHostKey() {
  hostKeyRecorded_ = false;
  try {
    platform::writeFileAtomically(knownHostsFile(), platform::readFile(hostKeysCopy_));
  } catch (const Error& e) {
    log::warning(e.what());
  }
}

std::string FtpClient::url(const std::string& folder, const std::string& file) const {
  std::string host = settings_.host;
  if (host.find(':') != std::string::npos && !host.starts_with('[')) host = "[" + host + "]";
  std::string text = protocol_ == Protocol::Sftp ? "sftp://" : "ftp://";
  text += host + ":" + std::to_string(settings_.port) + "/";
  // SFTP paths are absolute; the login folder is "~".
  if (protocol_ == Protocol::Sftp && !folder.starts_with('/')) text += "~/";
  const std::string path = escapedPath(curl_, folder);
  text += path;
  if (!path.empty() && !path.ends_with('/')) text += '/';
  return text + escapedPath(curl_, file);
}

std::string FtpClient::folderPath(const std::string& name) const {
  std::string path = name.starts_with('/') || folder_.empty() ? name : folder_ + "/" + name;
  while (path.size() > 1 && path.ends_with('/')) path.pop_back();
  return path;
}

// The library reads "~" in quoted command paths as a name, but the server
// takes relative paths from the login folder, as the URLs' "~/" does.
std::string FtpClient::sftpPath(const std::string& name) const {
  std::string quoted = "\"";
  for (const char c : folderPath(name)) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

void FtpClient::prepare(const std::string& address) {
  CURL* curl = curl_;
  curl_easy_reset(curl);
  errorText_[0] = '\0';
  hostKeyRefusal_.clear();
  lastSent_ = 0;
  replies_.clear();
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_USERNAME, settings_.user.c_str());
  curl_easy_setopt(curl, CURLOPT_PASSWORD, settings_.password.c_str());
  platform::setCommonCurlOptions(curl, errorText_, &ClientCallbacks::debug, &ClientCallbacks::progress, this);
  curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &ClientCallbacks::openSocket);
  curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &ClientCallbacks::closeSocket);
  curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);

  const long timeoutMs = settings_.timeoutMs;
  const long timeoutSeconds = (timeoutMs + 999) / 1000;
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, timeoutMs);
  // A data connection that stalls for the time-out ends the transfer.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, timeoutSeconds);

  // One CWD with the whole path, as the folder was made with one MKD.
  curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  curl_easy_setopt(curl, CURLOPT_FTPPORT, settings_.passive ? nullptr : "-");
  curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, binary_ ? 0L : 1L);

  // An empty proxy turns off the proxies of the environment: only the
  // dialog's setting decides. FTP goes through an HTTP proxy as a tunnel.
  curl_easy_setopt(curl, CURLOPT_PROXY, settings_.proxyHost.c_str());
  if (!settings_.proxyHost.empty()) {
    curl_easy_setopt(curl, CURLOPT_PROXYPORT, static_cast<long>(settings_.proxyPort));
    curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
  }

  if (protocol_ == Protocol::FtpExplicitTls) {
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    const char* bundle = settings_.caFile.empty() ? std::getenv("CURL_CA_BUNDLE") : settings_.caFile.c_str();
    if (bundle && *bundle) curl_easy_setopt(curl, CURLOPT_CAINFO, bundle);
  }
  if (protocol_ == Protocol::Sftp) {
    const std::string key = userKeyFile();
    if (!key.empty()) curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, key.c_str());
    copyHostKeys();
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, hostKeysCopy_.c_str());
    curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &ClientCallbacks::hostKey);
    curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
  }
}

bool FtpClient::perform() {
  if (stopped_ && !ignoreStop_) return false;
  const CURLcode code = curl_easy_perform(curl_);
  if (hostKeyRecorded_) keepRecordedHostKey();
  curl_socket_t socket = CURL_SOCKET_BAD;
  curl_easy_getinfo(curl_, CURLINFO_ACTIVESOCKET, &socket);
  connected_ = socket != CURL_SOCKET_BAD;
  if (code == CURLE_OK) return true;
  if (!events_.error) return false;
  if (!hostKeyRefusal_.empty()) {
    events_.error(static_cast<int>(code), hostKeyRefusal_);
  } else {
    events_.error(static_cast<int>(code), errorText_[0] ? errorText_ : curl_easy_strerror(code));
  }
  return false;
}

void FtpClient::reportLines(const char* data, std::size_t size) {
  if (!events_.status) return;
  std::string_view text(data, size);
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string line(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (line.ends_with('\r')) line.pop_back();
    if (line.starts_with("PASS ")) line = "PASS ********";
    // Names in commands and replies are bytes; the log shows them as text.
    if (!line.empty()) events_.status(platform::textFromFile(line));
  }
}

bool FtpClient::progress(std::uint64_t sent, std::uint64_t total) {
  if (stopped_ && !ignoreStop_) return false;
  if (sent != lastSent_ && total > 0) {
    lastSent_ = sent;
    if (events_.packetSent) events_.packetSent(sent, total);
  }
  return true;
}

void FtpClient::stop() {
  stopped_ = true;
  if (ignoreStop_) return;
  std::lock_guard lock(socketsMutex_);
  for (const int fd : sockets_) ::shutdown(fd, SHUT_RDWR);
}

bool FtpClient::connect() {
  if (protocol_ == Protocol::Sftp) {
    std::error_code ignored;  // a missing folder shows as a failed connection
    std::filesystem::create_directories(knownHostsFile().parent_path(), ignored);
  }
  prepare(url(folder_));
  curl_easy_setopt(curl_, CURLOPT_NOBODY, 1L);
  if (!perform() || !connected_) return false;
  if (protocol_ != Protocol::Sftp) readFeatures();
  return true;
}

// Names go out as they are on disk, which here means UTF-8; a server that
// knows UTF-8 may otherwise take them for its own code page. A server that
// refuses the option still gets the names.
void FtpClient::readFeatures() {
  if (!performQuote("*FEAT")) return;
  bool utf8 = false;
  std::string_view text = replies_;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    // Features are listed one a line, each after a blank.
    if (!line.starts_with(' ')) continue;
    const std::string_view feature = platform::trimBlanks(line);
    utf8 = utf8 || platform::equalsIgnoreCase(feature, "UTF8");
    mlsd_ = mlsd_ || platform::equalsIgnoreCase(feature.substr(0, 4), "MLST");
  }
  if (utf8) performQuote("*OPTS UTF8 ON");
}

void FtpClient::disconnect() {
  // Closing the handle logs out (QUIT) and closes the connection; the next
  // request would open a new one.
  curl_easy_cleanup(curl_);
  curl_ = nullptr;
  connected_ = false;
  curl_ = platform::newCurlHandle();
}

// Runs one command after entering the current folder. The "*" lets a refused
// command keep the connection, and its reply code tells the outcome.
bool FtpClient::performQuote(const std::string& command) {
  prepare(url(folder_));
  curl_easy_setopt(curl_, CURLOPT_NOBODY, 1L);
  SList commands;
  commands.list = curl_slist_append(nullptr, command.c_str());
  curl_easy_setopt(curl_, CURLOPT_POSTQUOTE, commands.list);
  if (!perform()) return false;
  long reply = 0;
  curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &reply);
  return protocol_ == Protocol::Sftp || reply < 400;
}

bool FtpClient::makeDirectory(const std::string& name) {
  if (protocol_ == Protocol::Sftp) return performQuote("mkdir " + sftpPath(name));
  return performQuote("*MKD " + name);
}

bool FtpClient::changeDirectory(const std::string& name) {
  if (name.empty()) return connected_;  // stay in the current folder
  const std::string path = folderPath(name);
  prepare(url(path));
  curl_easy_setopt(curl_, CURLOPT_NOBODY, 1L);
  if (!perform()) return false;
  folder_ = path;
  return true;
}

bool FtpClient::upload(const std::filesystem::path& local, const std::string& remoteName) {
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(local.c_str(), "rb"), std::fclose);
  std::error_code ec;
  const auto size = std::filesystem::file_size(local, ec);
  if (!file || ec) {
    if (events_.error) events_.error(errno, "Cannot read " + platform::displayName(local) + ": " + std::strerror(errno));
    return false;
  }
  prepare(url(folder_, remoteName));
  curl_easy_setopt(curl_, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl_, CURLOPT_READDATA, file.get());
  curl_easy_setopt(curl_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
  if (perform()) return true;
  if (stopped_) removePartialFile(remoteName);
  return false;
}

bool FtpClient::removeFile(const std::string& name) {
  if (protocol_ != Protocol::Sftp) return performQuote("*DELE " + name);
  return performQuote("rm " + sftpPath(name));
}

// A stopped upload leaves the first part of the file on the server, where a
// gallery page would show it broken: take it away again.
void FtpClient::removePartialFile(const std::string& name) {
  ignoreStop_ = true;
  removeFile(name);
  ignoreStop_ = false;
}

std::optional<std::vector<RemoteEntry>> FtpClient::list(const std::string& name) {
  const bool mlsd = mlsd_ && protocol_ != Protocol::Sftp;
  std::string text;
  prepare(url(name.empty() ? folder_ : folderPath(name)));
  curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &ClientCallbacks::collect);
  curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &text);
  if (mlsd) curl_easy_setopt(curl_, CURLOPT_CUSTOMREQUEST, "MLSD");
  if (!perform()) return std::nullopt;
  return parseListing(text, mlsd);
}

std::string userKeyFile() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  for (const char* name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
    const std::filesystem::path key = std::filesystem::path(home) / ".ssh" / name;
    std::error_code ec;
    if (std::filesystem::is_regular_file(key, ec)) return key.string();
  }
  return {};
}

std::filesystem::path knownHostsFile() { return platform::configFolder() / "known_hosts"; }

}  // namespace vistrel::ftp
