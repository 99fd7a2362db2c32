#pragma once

#include <netinet/in.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::test {

// Runs a program (no shell) and waits for it; its exit status (-1 when it did
// not end normally), with its output going to the log file.
int runQuietly(const std::vector<std::string>& args, const std::filesystem::path& logFile);

// Runs a program (no shell) and collects what it prints on standard output
// and standard error together.
struct CommandOutput {
  int status = -1;
  std::string output;
};
CommandOutput runCommand(const std::vector<std::string>& args);

// Starts a program (no shell) with no display, with extra "NAME=value"
// settings in its environment, standard input from /dev/null and standard
// output and error written to the files. Its process id.
pid_t startWithoutDisplay(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                          const std::filesystem::path& out, const std::filesystem::path& err);

// Starts a server process, its output going to the log file, and waits until
// it answers on 127.0.0.1:port. The process ends with the test, even one that
// crashes. Throws std::runtime_error when it does not start.
pid_t startServer(const std::vector<std::string>& args, int port, const std::filesystem::path& logFile);
void stopServer(pid_t pid);

// A self-signed certificate for 127.0.0.1 and its key, made with openssl.
// Throws std::runtime_error when it cannot be made.
void makeCertificate(const std::filesystem::path& certificate, const std::filesystem::path& key);

// The address 127.0.0.1:port.
sockaddr_in loopback(int port);

// A port on 127.0.0.1 that nothing listens on right now.
int freePort();

}  // namespace vistrel::test
