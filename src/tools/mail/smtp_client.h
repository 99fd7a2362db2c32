#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/mail/mail_message.h"

namespace vistrel::mail {

// How to reach the server. The URL is "smtp://host:port" (STARTTLS when the
// server offers it) or "smtps://host:port" (TLS from the start).
struct SmtpServer {
  std::string url;
  std::string login;     // empty: no authentication
  std::string password;
  bool requireTls = false;  // fail rather than go on without TLS
  std::string caFile;       // certificates to trust besides the system's; $CURL_CA_BUNDLE when empty
  long timeoutMs = 30000;
};

// What the server offers once the connection is as secure as it gets.
struct ServerOffers {
  bool tls = false;
  bool authentication = false;
};

// What the client reports while it works. Every callback may be empty; they
// are called on the thread that sends.
struct SmtpEvents {
  std::function<void()> connected;  // the server greeted
  std::function<void()> sending;    // the message begins: its sender goes to the server
  std::function<void(const std::string& name)> encoding;  // an attachment begins
  std::function<void(std::uint64_t sent, std::uint64_t total)> progress;
};

enum class SmtpStatus { Done, HostNotFound, ConnectionFailed, LoginFailed, Failed, Aborted };

struct SmtpOutcome {
  SmtpStatus status = SmtpStatus::Failed;
  // The server's last reply ("250 2.0.0 Ok: queued"), or what went wrong
  // when the server said nothing about it.
  std::string reply;
};

// One conversation with an SMTP server over libcurl, which builds the MIME
// message and encodes the attachments itself. abort() may come from any thread.
class SmtpClient {
 public:
  SmtpClient(SmtpServer server, SmtpEvents events);
  ~SmtpClient();
  SmtpClient(const SmtpClient&) = delete;
  SmtpClient& operator=(const SmtpClient&) = delete;

  // Connects, greets (with STARTTLS where offered) and notes what the server
  // offers, without logging in or sending anything.
  SmtpOutcome probe(ServerOffers& offers);
  SmtpOutcome send(const MailMessage& message);
  void abort() { aborted_ = true; }

 private:
  friend struct SmtpCallbacks;
  void prepare();
  SmtpOutcome perform();
  void heard(const char* data, std::size_t size);
  void said(const char* data, std::size_t size);

  SmtpServer server_;
  SmtpEvents events_;
  void* curl_ = nullptr;
  char errorText_[256] = {};
  std::vector<std::string> replies_;  // the reply lines of this conversation
  bool connected_ = false;
  bool startTlsAsked_ = false;
  bool secured_ = false;  // TLS from the start, or the server took STARTTLS
  std::atomic<bool> aborted_{false};
};

}  // namespace vistrel::mail
