#include "tools/mail/mail_sender.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "imaging/bitmap.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "platform/files.h"
#include "support/processes.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"
#include "tools/mail/recipients.h"

namespace vistrel::mail {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::readFile;

class MemoryVault : public PasswordVault {
 public:
  std::map<std::string, std::string> kept;
  std::optional<std::string> find(const std::string& server, const std::string& login) override {
    const auto found = kept.find(server + " " + login);
    return found == kept.end() ? std::nullopt : std::optional(found->second);
  }
  bool keep(const std::string& server, const std::string& login, const std::string& password) override {
    kept[server + " " + login] = password;
    return true;
  }
  void forget(const std::string& server, const std::string& login) override { kept.erase(server + " " + login); }
};

class MailSenderTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  fs::path maildir = folder / "maildir";
  fs::path received = folder / "received";
  fs::path temporary = folder / "tmp";  // the system's temporary folder during the test
  int port = test::freePort();
  pid_t server = 0;
  test::ScriptedPrompter prompter;
  MemoryVault vault;
  std::set<std::string> plainLogin;
  std::vector<std::string> statuses;
  std::optional<PasswordAnswer> typedPassword;
  int passwordAsked = 0;
  std::string oldTemporary = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";

  void SetUp() override {
    fs::create_directories(received);
    fs::create_directories(temporary);
    ::setenv("TMPDIR", temporary.c_str(), 1);
  }
  void TearDown() override {
    test::stopServer(server);
    oldTemporary.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", oldTemporary.c_str(), 1);
  }

  void start(const std::string& mode) {
    std::vector<std::string> args{"/usr/bin/python3", VISTREL_MAIL_TEST_DIR "/smtp_server.py", std::to_string(port),
                                  maildir.string(), mode};
    if (mode == "tls-login") {
      test::makeCertificate(folder / "cert.pem", folder / "key.pem");
      args.insert(args.end(), {(folder / "cert.pem").string(), (folder / "key.pem").string()});
    }
    server = test::startServer(args, port, folder / "server.log");
  }

  MailAccount account() const {
    MailAccount account;
    account.server = "smtp://127.0.0.1:" + std::to_string(port);
    account.fromAddress = "me@example.org";
    account.fromName = "Me Myself";
    account.caFile = (folder / "cert.pem").string();
    return account;
  }

  SmtpOutcome send(const MailJob& job, const MailAccount& from) {
    MailEvents events;
    events.status = [this](int panel, const std::string& text) {
      if (panel == 0) statuses.push_back(text);
    };
    events.askPassword = [this](const std::string&, const std::string&) {
      ++passwordAsked;
      return typedPassword;
    };
    MailSender sender(prompter, vault, plainLogin, events);
    return sender.send(job, from);
  }

  // What Python's own mail reader makes of the message the server kept.
  std::string receivedMail() {
    const auto read = test::runCommand(
        {"/usr/bin/python3", VISTREL_MAIL_TEST_DIR "/read_mail.py", maildir.string(), received.string()});
    EXPECT_EQ(read.status, 0) << read.output;
    return read.output;
  }

  fs::path photo(const std::string& name, int width, int height) {
    const std::vector<std::uint8_t> jpeg = imaging::EncodeJpeg(imaging::TBitmap(width, height), 90, false);
    return folder.write(name, std::string(jpeg.begin(), jpeg.end()));
  }
  std::pair<int, int> size(const fs::path& file) {
    const auto header = imaging::ReadImageHeader(file);
    return {header.width, header.height};
  }
};

TEST_F(MailSenderTest, DownsizedPicturesArriveAtTheirNewSizesUnderFreeNames) {
  start("open");
  MailJob job;
  job.to = "you@example.org; them@example.org;";
  job.subject = "Photos from Zürich";
  job.body = "Hello\n\n-- \nMe";
  job.files = {photo("a/img.jpg", 1600, 1200), photo("b/img.jpg", 1200, 1600), photo("small.jpg", 300, 500)};
  const SmtpOutcome outcome = send(job, account());
  ASSERT_EQ(outcome.status, SmtpStatus::Done) << outcome.reply;
  EXPECT_TRUE(outcome.reply.starts_with("250")) << outcome.reply;
  EXPECT_EQ(statuses, (std::vector<std::string>{"Server connected ..", "Sending message ..", "Message sent"}));
  EXPECT_EQ(receivedMail(),
            "messages: 1\n"
            "From: Me Myself <me@example.org>\n"
            "To: you@example.org, them@example.org\n"
            "Subject: Photos from Zürich\n"
            "Body: 'Hello\\n\\n-- \\nMe'\n"
            "Attachment: img_1.jpg image/jpeg\n"
            "Attachment: img.jpg image/jpeg\n"
            "Attachment: small.jpg image/jpeg\n");
  EXPECT_EQ(size(received / "img_1.jpg"), std::pair(400, 300));
  EXPECT_EQ(size(received / "img.jpg"), std::pair(300, 400));
  EXPECT_EQ(size(received / "small.jpg"), std::pair(300, 500));
  EXPECT_TRUE(fs::is_empty(temporary));
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(MailSenderTest, WithoutDownsizingTheFilesGoByteForByte) {
  start("open");
  MailJob job;
  job.to = "you@example.org";
  job.downsizing.enabled = false;
  job.files = {photo("big.jpg", 1600, 1200), folder.write("notes.txt", std::string(5000, 'x') + "\n\x01\xff")};
  ASSERT_EQ(send(job, account()).status, SmtpStatus::Done);
  EXPECT_NE(receivedMail().find("Attachment: notes.txt text/plain"), std::string::npos);
  EXPECT_EQ(readFile(received / "big.jpg"), readFile(job.files[0]));
  EXPECT_EQ(readFile(received / "notes.txt"), readFile(job.files[1]));
}

TEST_F(MailSenderTest, ACommaOrAnUnreadableFileIsRefusedBeforeAnyConnection) {
  MailJob job;
  job.to = "you@example.org, them@example.org";
  EXPECT_EQ(send(job, account()).status, SmtpStatus::Failed);
  job.to = "you@example.org";
  job.files = {folder / "missing.jpg"};
  EXPECT_EQ(send(job, account()).status, SmtpStatus::Failed);
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[0].text, kInvalidRecipient);
  EXPECT_NE(prompter.shown()[1].text.find("missing.jpg"), std::string::npos);
  EXPECT_TRUE(statuses.empty());  // not even a failed connection
  EXPECT_TRUE(fs::is_empty(temporary));
}

TEST_F(MailSenderTest, TheRecipientRules) {
  EXPECT_EQ(recipientList(" a@x.org "), std::vector<std::string>{"a@x.org"});
  EXPECT_EQ(recipientList("a@x.org; b@y.org ;"), (std::vector<std::string>{"a@x.org", "b@y.org"}));
  for (const char* bad : {"a@x.org,b@y.org", "a@x.org>\r\nRCPT TO:<c@z.org", "a b@x.org", " ; "}) {
    EXPECT_THROW(recipientList(bad), Error) << bad;
  }
  EXPECT_EQ(transferText(0, 5000), "0 KB of 4 KB transferred");
  EXPECT_EQ(smtpUrl("mail.example.org", 465), "smtps://mail.example.org:465");
  EXPECT_EQ(smtpUrl("mail.example.org", 587), "smtp://mail.example.org:587");
  EXPECT_EQ(smtpUrl("smtp://mail.example.org:2525", 25), "smtp://mail.example.org:2525");
}

TEST_F(MailSenderTest, ThePasswordIsAskedForAtSendTimeAndGoesOnlyOverTls) {
  start("tls-login");
  MailAccount from = account();
  from.login = "user";
  MailJob job;
  job.to = "you@example.org";
  typedPassword = PasswordAnswer{"wrong", false};
  const SmtpOutcome refused = send(job, from);
  EXPECT_EQ(refused.status, SmtpStatus::LoginFailed);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_NE(prompter.shown()[0].text.find("535"), std::string::npos) << prompter.shown()[0].text;

  typedPassword = PasswordAnswer{"s3cret", true};
  ASSERT_EQ(send(job, from).status, SmtpStatus::Done);
  EXPECT_EQ(vault.kept[from.server + " user"], "s3cret");
  // Remembered: not asked again.
  ASSERT_EQ(send(job, from).status, SmtpStatus::Done);
  EXPECT_EQ(passwordAsked, 2);
  EXPECT_EQ(readFile(maildir.string() + ".logins"),
            "user wrong tls=True\nuser s3cret tls=True\nuser s3cret tls=True\n");
}

TEST_F(MailSenderTest, APasswordGoesWithoutTlsOnlyWhenTheUserAgrees) {
  start("plain-login");
  MailAccount from = account();
  from.login = "user";
  from.password = "s3cret";
  MailJob job;
  job.to = "you@example.org";
  prompter.expect("plain text", Answer::No);
  EXPECT_EQ(send(job, from).status, SmtpStatus::LoginFailed);
  EXPECT_FALSE(fs::exists(maildir.string() + ".logins"));

  prompter.expect("plain text", Answer::Yes);
  ASSERT_EQ(send(job, from).status, SmtpStatus::Done);
  EXPECT_EQ(plainLogin, std::set<std::string>{from.server});
  ASSERT_EQ(send(job, from).status, SmtpStatus::Done);  // not asked again
  EXPECT_EQ(readFile(maildir.string() + ".logins"), "user s3cret tls=False\nuser s3cret tls=False\n");
}

}  // namespace
}  // namespace vistrel::mail
