#include "ftp/ui/ftp_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "ftp/password_cipher.h"
#include "ftp/ui/add_form.h"
#include "ftp_server.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::ftp::ui {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

class FtpFormTest : public ::testing::Test {
 protected:
  void writeSites(const std::vector<std::string>& lines) {
    SiteList sites;
    sites.lines() = lines;
    sites.save();
  }
  std::string storedSites() { return platform::readFile(siteListFile()); }
  void select(TFtpForm& form, int row) {
    form.ListView->setCurrentIndex(form.ListView->model()->index(row, 0));
  }
  QString cell(TFtpForm& form, int row, int column) {
    return form.ListView->model()->index(row, column).data().toString();
  }

  test::IsolatedUser user_;
  test::ScriptedPrompter prompter_;
};

TEST_F(FtpFormTest, SourceFieldShowsItsCountsAndGatesUpload) {
  test::TempFolder folder;
  folder.write("a.jpg", std::string(1000, 'a'));
  folder.write("b.jpg", std::string(2000, 'b'));
  folder.write("c.jpg", std::string(3000, 'c'));
  TFtpForm form(nullptr, &prompter_);
  EXPECT_EQ(form.windowTitle(), "FTP Upload");
  EXPECT_EQ(form.noFilesLabel->text(), "Invalid source folder");
  EXPECT_FALSE(form.btnUpload->isEnabled());
  form.setSource(QString::fromStdString(folder.path().string()));
  EXPECT_EQ(form.noFilesLabel->text(), "Source folder contains: 3 files");
  EXPECT_EQ(form.FileSizeLabel->text(), "Total file size is:  6 KB");
  EXPECT_TRUE(form.btnUpload->isEnabled());
  form.FtpSource->setText(form.FtpSource->text() + "/nothing");
  EXPECT_EQ(form.FileSizeLabel->text(), "");
  EXPECT_FALSE(form.btnUpload->isEnabled());
}

TEST_F(FtpFormTest, ShowingTheDialogListsTheSites) {
  writeSites({">hidden>h>>21>/x", "Home>myhost>anna>>21>/www/gallery",
              "Work>w.example>bob>" + encipherPassword("pw") + ">2121>/"});
  TFtpForm form(nullptr, &prompter_);
  form.show();
  ASSERT_EQ(form.ListView->model()->rowCount(), 2);
  EXPECT_EQ(cell(form, 0, 0), "Home");
  EXPECT_EQ(cell(form, 0, 3), "");
  EXPECT_EQ(cell(form, 0, 5), "/www/gallery");
  EXPECT_EQ(cell(form, 1, 3), "***");
  EXPECT_EQ(cell(form, 1, 4), "2121");
  EXPECT_EQ(form.ListView->model()->headerData(3, Qt::Horizontal).toString(), "pwd");
  form.cbLargeIcons->setChecked(true);
  EXPECT_EQ(qobject_cast<QStackedWidget*>(form.ListView->parentWidget())->currentWidget(),
            static_cast<QWidget*>(form.IconView));
  form.reject();
}

TEST_F(FtpFormTest, CommandsWithoutASelectedSiteSayWhatIsMissing) {
  writeSites({"Home>myhost>anna>>21>/www"});
  TFtpForm form(nullptr, &prompter_);
  form.show();
  form.btnEditServer->trigger();
  form.btnDeleteServer->trigger();
  form.btnUpload->click();  // disabled without a source: nothing happens
  test::TempFolder folder;
  form.setSource(QString::fromStdString(folder.path().string()));
  form.btnUpload->click();
  ASSERT_EQ(prompter_.shown().size(), 3u);
  EXPECT_EQ(prompter_.shown()[0].caption, "No entry selected");
  EXPECT_EQ(prompter_.shown()[0].text, "Select an entry and try again..");
  EXPECT_EQ(prompter_.shown()[1].caption, "No entry selected");
  EXPECT_EQ(prompter_.shown()[2].caption, "No server selected");
  EXPECT_EQ(prompter_.shown()[2].text, "You must select a server before you can upload files..");
  EXPECT_EQ(storedSites(), "Home>myhost>anna>>21>/www\r\n");
  form.reject();
}

TEST_F(FtpFormTest, DeletingASelectedSiteRemovesItsLine) {
  writeSites({"Home>myhost>anna>" + encipherPassword("pw") + ">21>/www", "Keep>k>u>>21>/k"});
  TFtpForm form(nullptr, &prompter_);
  form.show();
  select(form, 0);
  form.btnDeleteServer->trigger();
  EXPECT_EQ(storedSites(), "Keep>k>u>>21>/k\r\n");
  EXPECT_EQ(form.ListView->model()->rowCount(), 1);
  form.reject();
}

TEST_F(FtpFormTest, SettingsAreReadAtCreationAndWrittenAtClose) {
  {
    TFtpForm form(nullptr, &prompter_);
    EXPECT_EQ(form.TimeoutSpin->value(), 15);
    EXPECT_TRUE(form.cbPassive->isChecked());
    EXPECT_TRUE(form.cbPromptOverwrite->isChecked());
    EXPECT_FALSE(form.ProxyEdit->isEnabled());
    form.TimeoutSpin->setValue(33);
    EXPECT_FALSE(form.cbOnlyChanged->isChecked());
    form.cbPassive->setChecked(false);
    form.cbOnlyChanged->setChecked(true);
    form.cbUseProxy->setChecked(true);
    EXPECT_TRUE(form.ProxyEdit->isEnabled());
    form.ProxyEdit->setText("proxy.example");
    form.reject();
  }
  platform::SettingsStore store;
  const auto key = store.openKey(platform::kProgramKey, false);
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->readInteger("FtpTimeout"), 33);
  EXPECT_EQ(key->readString("FtpProxy"), "proxy.example");
  TFtpForm again(nullptr, &prompter_);
  EXPECT_EQ(again.TimeoutSpin->value(), 33);
  EXPECT_FALSE(again.cbPassive->isChecked());
  EXPECT_TRUE(again.cbOnlyChanged->isChecked());
  EXPECT_FALSE(again.cbRemoveDeleted->isChecked());
  EXPECT_TRUE(again.cbUseProxy->isChecked());
}

TEST_F(FtpFormTest, SiteDialogAddsAndEditsSites) {
  SiteList sites;
  sites.ensureExists();
  TAddForm add(sites, prompter_);
  add.prepareAdd();
  EXPECT_EQ(add.windowTitle(), "Add server");
  EXPECT_EQ(add.PortEdit->value(), 21);
  EXPECT_EQ(add.PasswordEdit->echoMode(), QLineEdit::Password);
  add.NameEdit->setText("Home");
  add.AddressEdit->setText("myhost");
  add.UserEdit->setText("anna");
  add.PasswordEdit->setText("secret");
  add.DirectoryEdit->setText("/www");
  add.btnOK->click();
  EXPECT_EQ(add.result(), QDialog::Accepted);
  EXPECT_EQ(storedSites(), "Home>myhost>anna>RDf4UsJk>21>/www\r\n");

  // The same site again is a duplicate and leaves the dialog open.
  add.setResult(QDialog::Rejected);
  add.btnOK->click();
  EXPECT_EQ(add.result(), QDialog::Rejected);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].caption, "Duplicate entry");

  TAddForm edit(sites, prompter_);
  edit.prepareEdit(*sites.find("Home"));
  EXPECT_EQ(edit.windowTitle(), "Edit Home");
  EXPECT_EQ(edit.PasswordEdit->text(), "RDf4UsJk");
  edit.DirectoryEdit->setText("/gallery");
  edit.btnOK->click();
  EXPECT_EQ(storedSites(), "Home>myhost>anna>RDf4UsJk>21>/gallery\r\n");
}

class FtpFormUploadTest : public FtpFormTest {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<test::FtpServer>(); }
  static void TearDownTestSuite() { server_.reset(); }
  static std::unique_ptr<test::FtpServer> server_;
};
std::unique_ptr<test::FtpServer> FtpFormUploadTest::server_;

TEST_F(FtpFormUploadTest, UploadRunsWhileTheDialogStaysLive) {
  writeSites({"Local>127.0.0.1>" + std::string(test::kFtpUser) + ">>" + std::to_string(server_->port()) + ">/site"});
  test::TempFolder folder;
  folder.write("index.html", "<html></html>");
  folder.write("big.jpg", std::string(3 * 1024 * 1024, '\x5A'));
  prompter_.expectInput(std::string(test::kFtpPassword));  // the site stores no password
  TFtpForm form(nullptr, &prompter_);
  form.setSource(QString::fromStdString(folder.path().string()));
  form.show();
  select(form, 0);
  QObject::connect(&form, &TFtpForm::uploadFinished, [&](UploadResult r) { EXPECT_EQ(r, UploadResult::Done); });
  form.btnUpload->click();
  EXPECT_FALSE(form.btnUpload->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.uploading(); }, 60000)) << form.MemoLog->toPlainText().toStdString();
  EXPECT_TRUE(form.btnUpload->isEnabled());
  const QString log = form.MemoLog->toPlainText();
  EXPECT_TRUE(log.contains("Connected to 127.0.0.1..")) << log.toStdString();
  EXPECT_TRUE(log.contains("big.jpg has been uploaded."));
  EXPECT_TRUE(log.endsWith("Disconnected"));
  EXPECT_EQ(form.StatusPanel0->text(), "Done");
  EXPECT_EQ(platform::readFile(server_->root() / "site" / "big.jpg"), platform::readFile(folder / "big.jpg"));
  form.btnClearLog->click();
  EXPECT_TRUE(form.MemoLog->toPlainText().isEmpty());
  form.reject();
}

TEST_F(FtpFormUploadTest, CloseStopsAHangingUpload) {
  test::SilentServer silent;
  writeSites({"Silent>127.0.0.1>u>" + encipherPassword("p") + ">" + std::to_string(silent.port()) + ">/x"});
  test::TempFolder folder;
  folder.write("a.jpg", "a");
  TFtpForm form(nullptr, &prompter_);
  form.TimeoutSpin->setValue(60);
  form.setSource(QString::fromStdString(folder.path().string()));
  form.show();
  select(form, 0);
  form.btnUpload->click();
  ASSERT_TRUE(form.uploading());
  form.btnClose->click();
  EXPECT_FALSE(form.isVisible());
  // Well before the 60-second time-out the stopped upload has ended.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.uploading(); }, 30000));
  EXPECT_FALSE(form.MemoLog->toPlainText().contains("Connection failed"));
}

}  // namespace
}  // namespace vistrel::ftp::ui
