#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "options/program_options.h"
#include "platform/prompter.h"
#include "tools/mail/attachments.h"
#include "tools/mail/password_vault.h"
#include "tools/mail/smtp_client.h"

namespace vistrel::mail {

inline constexpr const char* kHostNotFound =
    "Host not found.\n\nMake sure that your computer is connected to the Internet, and\nthat you have entered a "
    "valid host under Options > Email.";

// What the user typed into the e-mail dialog.
struct MailJob {
  std::string to;  // the "To:" text
  std::string subject;
  std::string body;
  std::vector<std::filesystem::path> files;
  Downsizing downsizing;
};

// The sending account, from the program options.
struct MailAccount {
  std::string server;  // URL
  std::string login;   // empty: never log in
  std::string fromAddress;
  std::string fromName;
  std::optional<std::string> password;  // given beforehand; else remembered or asked for
  std::string caFile;                   // see SmtpServer
};

// The options' server and port as a URL: a server written as a URL is taken
// as it is; a host name gets "smtps://" on port 465 (TLS from the start) and
// "smtp://" on any other.
std::string smtpUrl(const std::string& server, int port);
MailAccount accountFromOptions(const options::ProgramOptions& options);

struct PasswordAnswer {
  std::string password;
  bool remember = false;  // keep it in the vault once the server took it
};

// What a send reports. Every callback may be empty; all are called on the
// sending thread.
struct MailEvents {
  // The two panels of the dialog's status bar: 0 the stage, 1 its detail.
  std::function<void(int panel, const std::string& text)> status;
  // Asked when the server wants a login and no password is known; nothing = cancelled.
  std::function<std::optional<PasswordAnswer>(const std::string& server, const std::string& login)> askPassword;
};

// Sends one e-mail: checks the recipients, logs in when the server asks for
// it, prepares the attachments (downsized copies in a temporary folder that is
// gone afterwards) and sends. Every failure is shown through the prompter
// with its reason; the stages go to the status bar. abort() may come from any
// thread.
class MailSender {
 public:
  // `plainLoginServers`: the servers the user allowed to get a password
  // without TLS; a new allowance is added to it.
  MailSender(platform::Prompter& prompter, PasswordVault& vault, std::set<std::string>& plainLoginServers,
             MailEvents events);

  SmtpOutcome send(const MailJob& job, const MailAccount& account);
  void abort();

 private:
  struct Login {
    std::optional<PasswordAnswer> answer;
    bool fromVault = false;
  };
  SmtpOutcome sendChecked(const MailJob& job, const MailAccount& account);
  std::optional<SmtpOutcome> logIn(SmtpServer& server, const MailAccount& account, Login& login);
  SmtpOutcome converse(SmtpServer server, const std::function<SmtpOutcome(SmtpClient&)>& talk);
  SmtpOutcome report(const SmtpOutcome& outcome);
  void status(int panel, const std::string& text) const;

  platform::Prompter& prompter_;
  PasswordVault& vault_;
  std::set<std::string>& plainLoginServers_;
  MailEvents events_;
  std::mutex mutex_;
  SmtpClient* client_ = nullptr;  // the running conversation, for abort()
  std::atomic<bool> aborted_{false};
};

// "12 KB of 340 KB transferred": whole kilobytes (bytes div 1024).
std::string transferText(std::uint64_t sent, std::uint64_t total);

}  // namespace vistrel::mail
