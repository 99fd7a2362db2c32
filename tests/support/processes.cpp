#include "support/processes.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

bool answers(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = loopback(port);
  const bool ok = ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(s);
  return ok;
}

// In a forked child: becomes the program, or ends.
[[noreturn]] void execOrExit(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

pid_t spawnQuietly(const std::vector<std::string>& args, const std::filesystem::path& logFile) {
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that crashes leaves no server behind
    FILE* log = std::fopen(logFile.c_str(), "w");
    if (log) {
      ::dup2(::fileno(log), 1);
      ::dup2(::fileno(log), 2);
    }
    execOrExit(args);
  }
  return pid;
}

}  // namespace

pid_t startWithoutDisplay(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                          const std::filesystem::path& out, const std::filesystem::path& err) {
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    for (const auto& setting : environment) ::putenv(const_cast<char*>(setting.c_str()));
    ::dup2(::open("/dev/null", O_RDONLY), 0);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    execOrExit(args);
  }
  return child;
}

int runQuietly(const std::vector<std::string>& args, const std::filesystem::path& logFile) {
  int status = 0;
  ::waitpid(spawnQuietly(args, logFile), &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

CommandOutput runCommand(const std::vector<std::string>& args) {
  TempFolder folder;
  const int status = runQuietly(args, folder / "output");
  return {status, platform::readFile(folder / "output")};
}

pid_t startServer(const std::vector<std::string>& args, int port, const std::filesystem::path& logFile) {
  const pid_t pid = spawnQuietly(args, logFile);
  // A loaded machine may need a while to start Python.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!answers(port)) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) throw std::runtime_error(args[1] + " ended at start-up");
    if (std::chrono::steady_clock::now() > deadline) {
      stopServer(pid);
      throw std::runtime_error(args[1] + " did not start");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return pid;
}

void stopServer(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
}

void makeCertificate(const std::filesystem::path& certificate, const std::filesystem::path& key) {
  TempFolder folder;
  if (runQuietly({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                  "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key.string(), "-out",
                  certificate.string()},
                 folder / "openssl.log") != 0) {
    throw std::runtime_error("openssl could not make a certificate");
  }
}

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int freePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);
  return ntohs(address.sin_port);
}

}  // namespace vistrel::test
