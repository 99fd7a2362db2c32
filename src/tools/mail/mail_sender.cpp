#include "tools/mail/mail_sender.h"

#include "platform/error.h"
#include "platform/text.h"
#include "tools/mail/recipients.h"

namespace vistrel::mail {
namespace {

constexpr const char* kCaption = "Vistrel e-mail assistant";

std::string plainLoginQuestion(const std::string& server) {
  return "The server " + server +
         " offers no encrypted connection, so your password would travel as plain text.\n\nSend it anyway, "
         "now and in future?";
}

}  // namespace

std::string smtpUrl(const std::string& server, int port) {
  if (server.find("://") != std::string::npos) return server;
  return (port == 465 ? "smtps://" : "smtp://") + server + ":" + std::to_string(port);
}

MailAccount accountFromOptions(const options::ProgramOptions& options) {
  MailAccount account;
  account.server = smtpUrl(options.smtpServer, options.smtpPort);
  account.login = options.smtpLoginName;
  account.fromAddress = options.smtpReturnAddress;
  account.fromName = options.smtpRealName;
  return account;
}

std::string transferText(std::uint64_t sent, std::uint64_t total) {
  return std::to_string(sent / 1024) + " KB of " + std::to_string(total / 1024) + " KB transferred";
}

MailSender::MailSender(platform::Prompter& prompter, PasswordVault& vault, std::set<std::string>& plainLoginServers,
                       MailEvents events)
    : prompter_(prompter), vault_(vault), plainLoginServers_(plainLoginServers), events_(std::move(events)) {}

void MailSender::status(int panel, const std::string& text) const {
  if (events_.status) events_.status(panel, text);
}

void MailSender::abort() {
  aborted_ = true;
  const std::lock_guard lock(mutex_);
  if (client_) client_->abort();
}

SmtpOutcome MailSender::send(const MailJob& job, const MailAccount& account) {
  aborted_ = false;
  try {
    return report(sendChecked(job, account));
  } catch (const Error& e) {
    status(1, "");
    prompter_.error(e.what(), kCaption);
    return {SmtpStatus::Failed, e.what()};
  }
}

SmtpOutcome MailSender::sendChecked(const MailJob& job, const MailAccount& account) {
  MailMessage message;
  message.to = recipientList(job.to);  // before any connection
  if (account.fromAddress.empty()) throw Error("Enter your e-mail address as the return address under Options > Email.");
  SmtpServer server;
  server.url = account.server;
  server.caFile = account.caFile;
  Login login;
  if (!account.login.empty()) {
    if (auto refused = logIn(server, account, login)) return *refused;
  }
  PreparedAttachments prepared(job.files, job.downsizing, [this](const std::filesystem::path& file) {
    status(1, "Resampling " + platform::displayName(file.filename()));
    return !aborted_;
  });
  if (!prepared.complete()) return {SmtpStatus::Aborted, {}};
  message.fromAddress = account.fromAddress;
  message.fromName = account.fromName;
  message.subject = job.subject;
  message.body = job.body;
  message.attachments = prepared.attachments();
  const SmtpOutcome outcome = converse(server, [&message](SmtpClient& client) { return client.send(message); });
  if (login.answer && outcome.status == SmtpStatus::Done && login.answer->remember && !login.fromVault) {
    vault_.keep(account.server, account.login, login.answer->password);
  }
  if (login.fromVault && outcome.status == SmtpStatus::LoginFailed) vault_.forget(account.server, account.login);
  return outcome;
}

// Looks at what the server offers first: a password goes only to a server
// that asks for one, and over plain text only with the user's consent.
std::optional<SmtpOutcome> MailSender::logIn(SmtpServer& server, const MailAccount& account, Login& login) {
  ServerOffers offers;
  const SmtpOutcome probed = converse(server, [&offers](SmtpClient& client) { return client.probe(offers); });
  if (probed.status != SmtpStatus::Done) return probed;
  if (!offers.authentication) return std::nullopt;
  if (!offers.tls && !plainLoginServers_.count(account.server)) {
    if (prompter_.ask(plainLoginQuestion(account.server), kCaption, platform::Buttons::YesNo,
                      platform::Icon::Warning) != platform::Answer::Yes) {
      return SmtpOutcome{SmtpStatus::LoginFailed,
                         "The password was not sent: the server offers no encrypted connection."};
    }
    plainLoginServers_.insert(account.server);
  }
  // A server that offered TLS must keep to it when the password goes.
  server.requireTls = offers.tls;
  if (account.password) {
    login.answer = PasswordAnswer{*account.password, false};
  } else if (auto kept = vault_.find(account.server, account.login)) {
    login.answer = PasswordAnswer{*kept, false};
    login.fromVault = true;
  } else if (events_.askPassword) {
    login.answer = events_.askPassword(account.server, account.login);
  }
  if (!login.answer) return SmtpOutcome{SmtpStatus::Aborted, {}};
  server.login = account.login;
  server.password = login.answer->password;
  return std::nullopt;
}

SmtpOutcome MailSender::converse(SmtpServer server, const std::function<SmtpOutcome(SmtpClient&)>& talk) {
  SmtpEvents events;
  events.connected = [this] { status(0, "Server connected .."); };
  events.sending = [this] { status(0, "Sending message .."); };
  events.encoding = [this](const std::string& name) { status(1, "Encoding " + name); };
  events.progress = [this](std::uint64_t sent, std::uint64_t total) { status(1, transferText(sent, total)); };
  SmtpClient client(std::move(server), std::move(events));
  {
    const std::lock_guard lock(mutex_);
    if (aborted_) return {SmtpStatus::Aborted, {}};
    client_ = &client;
  }
  const SmtpOutcome outcome = talk(client);
  const std::lock_guard lock(mutex_);
  client_ = nullptr;
  return outcome;
}

SmtpOutcome MailSender::report(const SmtpOutcome& outcome) {
  switch (outcome.status) {
    case SmtpStatus::Done:
      status(0, "Message sent");
      status(1, "");
      break;
    case SmtpStatus::Aborted:
      status(0, "Operation aborted");
      status(1, "");
      break;
    case SmtpStatus::HostNotFound:
      status(0, "Connection failed");
      prompter_.error(kHostNotFound, kCaption);
      break;
    case SmtpStatus::ConnectionFailed:
      status(0, "Connection failed");
      prompter_.error("Connection failed.\n\n" + outcome.reply, kCaption);
      break;
    case SmtpStatus::LoginFailed:
    case SmtpStatus::Failed:
      status(0, "Message not sent");
      prompter_.error("The message was not sent.\n\n" + outcome.reply, kCaption);
      break;
  }
  return outcome;
}

}  // namespace vistrel::mail
