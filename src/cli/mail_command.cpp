#include "cli/mail_command.h"

#include <iostream>

#include "cli/password_input.h"
#include "cli/stored_options.h"
#include "cli/terminal_prompter.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "tools/mail/mail_sender.h"
#include "tools/mail/mail_settings.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kMailOptions[] = {
    {"--to", "ADDR", "The recipient; several are separated by semicolons: --to \"ann@example.org;bob@example.org\"."},
    {"--subject", "S", "The subject line (default \"Message sent by Vistrel\")."},
    {"--body-file", "F", "The text of the message, read from file F; the signature of the options follows it."},
    {"--resize", "N",
     "Send the pictures as JPEG copies (quality 80); one wider than N pixels (200 to 1600) is scaled so that its "
     "longer side is N. Files that are no pictures, and all files without --resize, go as they are."},
    {"--sharpen", "", "Sharpen the downsized copies (only with --resize)."},
    {"--smtp", "URL",
     "The mail server instead of the one in the options: smtp://host:587 (STARTTLS when the server offers it) or "
     "smtps://host:465."},
    {"--from", "ADDR", "The sender's address instead of the options' return address."},
    {"--login", "NAME", "Log in as NAME when the server asks for it, instead of the options' login name."},
    {"--password-file", "F",
     "Read the login password from the first line of file F instead of the desktop's secret store or the "
     "terminal."},
};

mail::Downsizing downsizing(const ParsedArguments& args) {
  mail::Downsizing result;
  const auto width = args.last("--resize");
  result.enabled = width.has_value();
  result.sharpen = args.has("--sharpen");
  if (result.sharpen && !result.enabled) throw UsageError("--sharpen needs --resize");
  if (result.enabled) {
    try {
      result.newWidth = std::stoi(*width);
    } catch (const std::exception&) {
      result.newWidth = 0;
    }
    if (result.newWidth < 200 || result.newWidth > 1600) throw UsageError("--resize must be 200 to 1600");
  }
  return result;
}

class MailCommand : public Command {
 public:
  explicit MailCommand(const ParsedArguments& args) : args_(args) {
    if (!args.has("--to")) throw UsageError("give the recipient with --to ADDR");
    if (args.operands.empty()) throw UsageError("no file given");
    job_.to = *args.last("--to");
    job_.subject = args.last("--subject").value_or(mail::MailSettings().subject);
    job_.files.assign(args.operands.begin(), args.operands.end());
    job_.downsizing = downsizing(args);
  }

  int run() override {
    const options::ProgramOptions options = storedProgramOptions();
    if (const auto bodyFile = args_.last("--body-file")) job_.body = platform::readFile(*bodyFile);
    if (!options.smtpSignature.empty()) job_.body += "\r\n" + options.smtpSignature;
    mail::MailAccount account = mail::accountFromOptions(options);
    account.server = args_.last("--smtp").value_or(account.server);
    account.fromAddress = args_.last("--from").value_or(account.fromAddress);
    account.login = args_.last("--login").value_or(account.login);
    if (const auto file = args_.last("--password-file")) account.password = passwordFromFile(*file);

    platform::SettingsStore store;
    std::set<std::string> plainLogin = mail::readPlainLoginServers(store);
    const std::size_t allowed = plainLogin.size();
    TerminalPrompter prompter;
    mail::DesktopSecretStore vault;
    mail::MailEvents events;
    events.status = [](int panel, const std::string& text) {
      if (panel == 0 && !text.empty()) std::cerr << text << "\n";
    };
    events.askPassword = [](const std::string& server, const std::string& login) {
      const auto password = TerminalPrompter::readSecret("Password for " + login + " at " + server + ": ");
      if (!password) throw Error("no terminal to read the password from: give --password-file F");
      return std::optional(mail::PasswordAnswer{*password, false});
    };
    mail::MailSender sender(prompter, vault, plainLogin, events);
    const mail::SmtpOutcome outcome = sender.send(job_, account);
    if (plainLogin.size() != allowed) mail::writePlainLoginServers(store, plainLogin);
    if (outcome.status != mail::SmtpStatus::Done) return 1;
    std::cout << outcome.reply << "\n";
    return 0;
  }

 private:
  ParsedArguments args_;
  mail::MailJob job_;
};

}  // namespace

const CommandInfo& mailCommand() {
  static const CommandInfo info{
      "mail",
      "mail --to ADDR[;ADDR...] [--subject S] [--body-file F] [--resize N] [--sharpen] [--smtp URL] [--from ADDR] "
      "[--login NAME] [--password-file F] FILE...",
      "Send files as the attachments of one e-mail, perhaps as downsized copies.",
      kMailOptions,
      "The server, sender, login and signature come from the program options (the options window's \"E-mail\" "
      "page) unless the options above say otherwise. A password goes to the server only when it asks for a login, "
      "and only over TLS unless you agreed for that server; without --password-file it is taken from the desktop's "
      "secret store or read from the terminal. Downsized copies are made in a private temporary folder that is "
      "removed afterwards. The stages go to standard error; the server's final reply goes to standard output.",
      "0 when the server accepted the message, 1 when it was not sent (the reason on standard error), 2 for a "
      "mistake on the command line.",
      "  # mail three photos as 800-pixel copies to two people\n"
      "  vistrel mail --to \"ann@example.org;bob@example.org\" --subject Holiday --resize 800 a.jpg b.jpg c.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<MailCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
