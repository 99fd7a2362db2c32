#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace vistrel::test {

// Debian's OpenSSH server on 127.0.0.1 with a host key of its own, serving
// only SFTP, starting in root(). It lets the current user in with a key made
// here, which the client finds as ~/.ssh/id_ed25519 when HOME is clientHome().
// Throws std::runtime_error saying why when the server cannot run here.
class SshServer {
 public:
  SshServer();
  ~SshServer();
  SshServer(const SshServer&) = delete;
  SshServer& operator=(const SshServer&) = delete;

  int port() const { return port_; }
  const std::string& user() const { return user_; }
  std::filesystem::path root() const { return folder_ / "root"; }
  std::filesystem::path clientHome() const { return folder_ / "home"; }
  // A known-hosts line that gives this server another key than its own.
  std::string forgedKnownHostsLine() const;

 private:
  TempFolder folder_;
  std::string user_;
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace vistrel::test
