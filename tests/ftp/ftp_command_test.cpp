#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "cli/run_program.h"
#include "ftp/password_cipher.h"
#include "ftp/site_list.h"
#include "ftp_server.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "support/temp_folder.h"

namespace vistrel::ftp {
namespace {

namespace fs = std::filesystem;
using test::runVistrel;

class FtpCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<test::FtpServer>(); }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    SiteList sites;
    sites.lines() = {siteLine({"Test", "127.0.0.1", test::kFtpUser, encipherPassword(test::kFtpPassword),
                               std::to_string(server_->port()), "/" + folderName()})};
    sites.save();
    gallery_.write("index.html", "<html></html>");
    gallery_.write("photo.jpg", std::string(5000, '\xAB'));
  }

  static std::string folderName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
  fs::path remote() const { return server_->root() / folderName(); }
  void expectUploaded() const {
    for (const char* name : {"index.html", "photo.jpg"}) {
      ASSERT_TRUE(fs::exists(remote() / name)) << name;
      EXPECT_EQ(platform::readFile(remote() / name), platform::readFile(gallery_ / name));
    }
  }

  static std::unique_ptr<test::FtpServer> server_;
  test::IsolatedUser user_;
  test::TempFolder gallery_;
};

std::unique_ptr<test::FtpServer> FtpCommandTest::server_;

TEST_F(FtpCommandTest, UploadsTheGivenFolderAndLogsOnStandardError) {
  const auto result = runVistrel({"ftp", "--site", "Test", gallery_.path().string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("photo.jpg has been uploaded."), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("Disconnected"), std::string::npos);
  EXPECT_EQ(result.err.find(test::kFtpPassword), std::string::npos) << "the password stays out of the log";
  expectUploaded();
}

TEST_F(FtpCommandTest, DefaultsToTheGalleryTargetFolder) {
  {
    platform::SettingsStore store;
    store.openKey(platform::kProgramKey, true)->writeString("TargetFolder", gallery_.path().string());
  }
  const auto result = runVistrel({"ftp", "--site=Test"});
  EXPECT_EQ(result.status, 0) << result.err;
  expectUploaded();
}

TEST_F(FtpCommandTest, AnExistingFolderNeedsYesWithoutATerminal) {
  fs::create_directories(remote());
  auto result = runVistrel({"ftp", "--site", "Test", gallery_.path().string()});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(result.err.find("Target folder exists"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(remote() / "photo.jpg"));
  result = runVistrel({"ftp", "--yes", "--site", "Test", gallery_.path().string()});
  EXPECT_EQ(result.status, 0) << result.err;
  expectUploaded();
}

TEST_F(FtpCommandTest, GalleryUploadsTheFolderItWroteWithItsSubfolders) {
  test::TempFolder photos;
  const fs::path photo = photos / "harbour.jpg";
  ASSERT_EQ(std::system(("/usr/bin/convert -size 320x240 gradient:navy-orange " + photo.string()).c_str()), 0);
  const fs::path target = photos / "out";
  const auto result = runVistrel({"gallery", "--quiet", "--target", target.string(), "--set", "UseSubfolders=1",
                                  "--ftp", "Test", photo.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  int files = 0;
  for (auto it = fs::recursive_directory_iterator(target); it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_regular_file() || it->path().filename().string().starts_with('.')) continue;
    ++files;
    const fs::path remoteFile = remote() / fs::relative(it->path(), target);
    ASSERT_TRUE(fs::exists(remoteFile)) << remoteFile;
    EXPECT_EQ(platform::readFile(remoteFile), platform::readFile(it->path()));
  }
  EXPECT_EQ(files, 4);  // index page, image page, thumbnail, medium image
  EXPECT_NE(result.err.find("4 of 4 files uploaded."), std::string::npos) << result.err;
}

TEST_F(FtpCommandTest, MistakesAreReported) {
  auto result = runVistrel({"ftp", gallery_.path().string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("--site"), std::string::npos) << result.err;
  result = runVistrel({"ftp", "--site", "Nowhere", gallery_.path().string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("There is no FTP server named \"Nowhere\""), std::string::npos) << result.err;
  result = runVistrel({"ftp", "--site", "Test", (gallery_ / "missing").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Invalid source folder"), std::string::npos) << result.err;
  result = runVistrel({"ftp", "--site", "Test", "--only-changed", "--all-files", gallery_.path().string()});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("exclude each other"), std::string::npos) << result.err;
  result = runVistrel({"ftp", "--site", "Test"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("no gallery target folder"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace vistrel::ftp
