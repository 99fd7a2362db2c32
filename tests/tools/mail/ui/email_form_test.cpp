#include "tools/mail/ui/email_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "support/processes.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::mail::ui {
namespace {

namespace fs = std::filesystem;

class NoVault : public PasswordVault {
 public:
  std::optional<std::string> find(const std::string&, const std::string&) override { return std::nullopt; }
  bool keep(const std::string&, const std::string&, const std::string&) override { return false; }
  void forget(const std::string&, const std::string&) override {}
};

class EmailFormTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  platform::SettingsStore store{folder / "settings.reg"};
  test::ScriptedPrompter prompter;
  NoVault vault;
  options::ProgramOptions options;
  int port = test::freePort();

  void SetUp() override {
    options.smtpServer = "127.0.0.1";
    options.smtpPort = port;
    options.smtpReturnAddress = "me@example.org";
    options.smtpSignature = "-- \r\nMe";
    options.addresses = {"ann@example.org", "bob@example.org"};
  }
};

TEST_F(EmailFormTest, OpensWithTheSignatureTheFilesAndTheStoredChoices) {
  TEmailForm form(nullptr, options, store, prompter, vault);
  EXPECT_EQ(form.windowTitle(), "Vistrel e-mail assistant");
  EXPECT_EQ(form.editSubject->text(), "Message sent by Vistrel");
  EXPECT_EQ(form.memoText->toPlainText(), "\n-- \nMe");
  EXPECT_EQ(form.editTo->count(), 2);
  form.addAttachments({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
  ASSERT_EQ(form.lbAttach->count(), 3);
  EXPECT_EQ(form.lbAttach->item(0)->text(), "/p/c.jpg");
  form.lbAttach->item(1)->setSelected(true);
  QTest::keyClick(form.lbAttach, Qt::Key_Delete);
  EXPECT_EQ(form.lbAttach->count(), 2);
  EXPECT_EQ(form.lbAttach->item(1)->text(), "/p/a.jpg");

  EXPECT_TRUE(form.cbSharpen->isEnabled());
  form.cbResample->setChecked(false);
  EXPECT_FALSE(form.cbSharpen->isEnabled());
  EXPECT_FALSE(form.NewWidth->isEnabled());
  form.editTo->setCurrentText("bob@example.org");
  form.editSubject->setText("Holiday");
  form.btnCancel->click();

  TEmailForm again(nullptr, options, store, prompter, vault);
  EXPECT_EQ(again.editTo->currentText(), "bob@example.org");
  EXPECT_EQ(again.editSubject->text(), "Holiday");
  EXPECT_FALSE(again.cbResample->isChecked());
  EXPECT_EQ(again.NewWidth->value(), 400);
}

TEST_F(EmailFormTest, AFailedSendSaysWhyAndKeepsWhatWasTyped) {
  TEmailForm form(nullptr, options, store, prompter, vault);
  form.editTo->setCurrentText("ann@example.org");
  form.editSubject->setText("Holiday");
  form.show();
  EXPECT_EQ(form.btnSendClick().status, SmtpStatus::ConnectionFailed);
  EXPECT_EQ(form.StatusBar1Panel0->text(), "Connection failed");
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.editSubject->text(), "Holiday");

  const pid_t server = test::startServer({"/usr/bin/python3", VISTREL_MAIL_TEST_DIR "/smtp_server.py",
                                          std::to_string(port), (folder / "maildir").string(), "open"},
                                         port, folder / "server.log");
  form.addAttachments({folder.write("notes.txt", "notes")});
  const SmtpOutcome sent = form.btnSendClick();
  test::stopServer(server);
  EXPECT_EQ(sent.status, SmtpStatus::Done) << sent.reply;
  EXPECT_EQ(form.StatusBar1Panel0->text(), "Message sent");
  EXPECT_EQ(form.StatusBar1Panel1->text(), "");
  EXPECT_EQ(prompter.shown().size(), 1u);
}

}  // namespace
}  // namespace vistrel::mail::ui
