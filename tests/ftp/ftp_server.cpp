#include "ftp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

#include "platform/files.h"
#include "support/processes.h"

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

}  // namespace

bool FtpServer::tlsAvailable() { return runQuietly({kPython, "-c", "import OpenSSL"}, "/dev/null") == 0; }

FtpServer::FtpServer(bool tls) {
  std::filesystem::create_directories(root());
  port_ = freePort();
  const std::string port = std::to_string(port_);
  std::vector<std::string> args;
  if (tls) {
    const auto key = folder_ / "key.pem";
    makeCertificate(certificate(), key);
    const auto script = folder_.write("tls_server.py", kTlsServerScript);
    args = {kPython, script.string(), port, root().string(), certificate().string(), key.string()};
  } else {
    args = {kPython, "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", port, "-w", "-d", root().string(),
            "-u", kFtpUser, "-P", kFtpPassword, "-r", "30200-30300"};
  }
  pid_ = startServer(args, port_, folder_ / "server.log");
}

FtpServer::~FtpServer() { stopServer(pid_); }

// The server logs "STOR /root/name completed=1 bytes=..." for each finished upload.
std::vector<std::string> FtpServer::storedFiles() const {
  const std::string prefix = "] STOR " + root().string() + "/";
  const std::string suffix = " completed=1 ";
  std::vector<std::string> files;
  const std::string log = platform::readFile(folder_ / "server.log");
  for (std::size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1)) {
    const std::size_t start = at + prefix.size();
    const std::string line = log.substr(start, log.find('\n', start) - start);
    const std::size_t end = line.find(suffix);
    if (end != std::string::npos) files.push_back(line.substr(0, end));
  }
  return files;
}

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
