#include "ssh_server.h"

#include <pwd.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

#include "platform/files.h"
#include "support/processes.h"

namespace vistrel::test {
namespace {

constexpr const char* kSshd = "/usr/sbin/sshd";

void makeKey(const std::filesystem::path& file, const char* type) {
  // libssh2 reads RSA keys only in the PEM form (the others have one form).
  if (runQuietly({"/usr/bin/ssh-keygen", "-q", "-t", type, "-m", "PEM", "-N", "", "-f", file.string()},
                 file.string() + ".log") != 0) {
    throw std::runtime_error("ssh-keygen could not make a key");
  }
}

std::string firstTwoWords(const std::string& line) {
  const auto second = line.find(' ', line.find(' ') + 1);
  return line.substr(0, second);
}

}  // namespace

SshServer::SshServer() {
  if (::access(kSshd, X_OK) != 0) throw std::runtime_error("the OpenSSH server is not installed");
  const passwd* account = ::getpwuid(::getuid());
  if (!account) throw std::runtime_error("the current user has no name");
  user_ = account->pw_name;
  std::filesystem::create_directories(root());
  std::filesystem::create_directories(clientHome() / ".ssh");
  makeKey(folder_ / "host_key", "ed25519");
  makeKey(folder_ / "other_host_key", "ed25519");
  makeKey(clientHome() / ".ssh" / "id_ed25519", "ed25519");
  std::filesystem::copy_file(clientHome() / ".ssh" / "id_ed25519.pub", folder_ / "authorized_keys");
  const auto config = folder_.write("sshd_config", "ListenAddress 127.0.0.1\n"
                                                   "HostKey " + (folder_ / "host_key").string() + "\n"
                                                   "PidFile none\nUsePAM no\nStrictModes no\n"
                                                   "AuthorizedKeysFile " + (folder_ / "authorized_keys").string() + "\n"
                                                   "PasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                                                   "PermitRootLogin prohibit-password\n"
                                                   "Subsystem sftp internal-sftp -d " + root().string() + "\n"
                                                   "ForceCommand internal-sftp -d " + root().string() + "\n");
  port_ = freePort();
  const std::string command = std::string("exec ") + kSshd + " -D -e -f " + config.string() + " -p " +
                              std::to_string(port_);
  // As root the server wants its privilege separation folder in /run: it gets
  // one on a tmpfs in a mount namespace of its own, so the machine's /run stays as it is.
  const std::vector<std::string> args =
      ::getuid() == 0 ? std::vector<std::string>{"/usr/bin/unshare", "-m", "/bin/sh", "-c",
                                                 "mount -t tmpfs tmpfs /run && mkdir -m 755 /run/sshd && " + command}
                      : std::vector<std::string>{"/bin/sh", "-c", command};
  try {
    pid_ = startServer(args, port_, folder_ / "sshd.log");
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(std::string(error.what()) + ": " + platform::readFile(folder_ / "sshd.log"));
  }
}

SshServer::~SshServer() { stopServer(pid_); }

std::string SshServer::forgedKnownHostsLine() const {
  return "[127.0.0.1]:" + std::to_string(port_) + " " +
         firstTwoWords(platform::readFile(folder_ / "other_host_key.pub")) + "\n";
}

}  // namespace vistrel::test
