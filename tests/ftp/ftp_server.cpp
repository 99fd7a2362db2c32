#include "ftp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/files.h"

namespace vistrel::test {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

const char* const kTlsServerScript = R"(import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import TLS_FTPHandler, TLS_DTPHandler
from pyftpdlib.servers import FTPServer

class DataHandler(TLS_DTPHandler):
    # The stock handler closes a data connection that speaks before the
    # transfer command; a client that starts TLS at once does just that.
    def readable(self):
        if not self._initialized and not self.receive:
            return self._ssl_accepting or self._ssl_want_read
        return super().readable()

port, root, cert, key = sys.argv[1:5]
authorizer = DummyAuthorizer()
authorizer.add_user('ftpuser', 'ftppass', root, perm='elradfmwMT')
handler = TLS_FTPHandler
handler.certfile = cert
handler.keyfile = key
handler.authorizer = authorizer
handler.dtp_handler = DataHandler
handler.passive_ports = range(30200, 30301)
handler.tls_control_required = True
handler.tls_data_required = True
FTPServer(('127.0.0.1', int(port)), handler).serve_forever()
)";

const char* const kProxyScript = R"(import asyncio, sys
port, log = int(sys.argv[1]), sys.argv[2]
async def pipe(reader, writer):
    try:
        while data := await reader.read(65536):
            writer.write(data)
            await writer.drain()
    finally:
        writer.close()
async def handle(reader, writer):
    request = await reader.readuntil(b'\r\n\r\n')
    target = request.split()[1].decode()
    with open(log, 'a') as f:
        f.write(target + '\n')
    host, _, target_port = target.rpartition(':')
    upstream_reader, upstream_writer = await asyncio.open_connection(host, int(target_port))
    writer.write(b'HTTP/1.1 200 Connection established\r\n\r\n')
    await writer.drain()
    await asyncio.gather(pipe(reader, upstream_writer), pipe(upstream_reader, writer), return_exceptions=True)
async def main():
    server = await asyncio.start_server(handle, '127.0.0.1', port)
    await server.serve_forever()
asyncio.run(main())
)";

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool answers(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = loopback(port);
  const bool ok = ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(s);
  return ok;
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
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

void stopServer(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
}

int runQuietly(const std::vector<std::string>& args, const std::filesystem::path& logFile) {
  int status = 0;
  ::waitpid(spawnQuietly(args, logFile), &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts a server process and waits until its port answers.
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

}  // namespace

int freePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);
  return ntohs(address.sin_port);
}

bool FtpServer::tlsAvailable() { return runQuietly({kPython, "-c", "import OpenSSL"}, "/dev/null") == 0; }

FtpServer::FtpServer(bool tls) {
  std::filesystem::create_directories(root());
  port_ = freePort();
  const std::string port = std::to_string(port_);
  std::vector<std::string> args;
  if (tls) {
    const auto key = folder_ / "key.pem";
    if (runQuietly({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
             "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key.string(), "-out",
             certificate().string()},
                   folder_ / "openssl.log") != 0) {
      throw std::runtime_error("openssl could not make a certificate");
    }
    const auto script = folder_.write("tls_server.py", kTlsServerScript);
    args = {kPython, script.string(), port, root().string(), certificate().string(), key.string()};
  } else {
    args = {kPython, "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", port, "-w", "-d", root().string(),
            "-u", kFtpUser, "-P", kFtpPassword, "-r", "30200-30300"};
  }
  pid_ = startServer(args, port_, folder_ / "server.log");
}

FtpServer::~FtpServer() { stopServer(pid_); }

TunnelProxy::TunnelProxy() {
  port_ = freePort();
  const auto script = folder_.write("proxy.py", kProxyScript);
  pid_ = startServer({kPython, script.string(), std::to_string(port_), (folder_ / "tunnels").string()}, port_,
                     folder_ / "proxy.log");
}

TunnelProxy::~TunnelProxy() { stopServer(pid_); }

std::string TunnelProxy::tunnels() const {
  std::error_code ec;
  return std::filesystem::exists(folder_ / "tunnels", ec) ? platform::readFile(folder_ / "tunnels") : "";
}

SilentServer::SilentServer() {
  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(socket_, 8) != 0) {
    throw std::runtime_error("cannot listen");
  }
  socklen_t length = sizeof address;
  ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

// The kernel completes the handshakes from the backlog, so nobody needs to
// call accept(): the client connects and then hears nothing.
SilentServer::~SilentServer() { ::close(socket_); }

}  // namespace vistrel::test
