#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/processes.h"
#include "support/temp_folder.h"

namespace vistrel::test {

inline constexpr const char* kFtpUser = "ftpuser";
inline constexpr const char* kFtpPassword = "ftppass";

// A real FTP server (Debian's pyftpdlib) on 127.0.0.1 with one user whose home
// is root(); with tls it demands explicit TLS and uses a self-signed
// certificate made here (certificate() is the file to trust).
class FtpServer {
 public:
  explicit FtpServer(bool tls = false);
  ~FtpServer();
  FtpServer(const FtpServer&) = delete;
  FtpServer& operator=(const FtpServer&) = delete;

  int port() const { return port_; }
  std::filesystem::path root() const { return folder_ / "root"; }
  std::filesystem::path certificate() const { return folder_ / "cert.pem"; }
  // The files stored so far by completed uploads, relative to root(), in order.
  std::vector<std::string> storedFiles() const;

  // Whether this machine can run the TLS server at all (python3-openssl).
  static bool tlsAvailable();

 private:
  TempFolder folder_;
  int port_ = 0;
  pid_t pid_ = -1;
};

// Accepts connections and never says a word: for time-outs.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  int port() const { return port_; }

 private:
  int socket_ = -1;
  int port_ = 0;
};

// An HTTP proxy that tunnels with CONNECT and notes each tunnel it opens.
class TunnelProxy {
 public:
  TunnelProxy();
  ~TunnelProxy();
  TunnelProxy(const TunnelProxy&) = delete;
  TunnelProxy& operator=(const TunnelProxy&) = delete;
  int port() const { return port_; }
  // One "host:port" line per tunnel.
  std::string tunnels() const;

 private:
  TempFolder folder_;
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace vistrel::test
