#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>

#include "cli/run_program.h"
#include "ftp/ftp_client.h"
#include "ftp/password_cipher.h"
#include "ftp/site_list.h"
#include "platform/files.h"
#include "ssh_server.h"
#include "support/temp_folder.h"

namespace vistrel::ftp {
namespace {

namespace fs = std::filesystem;
using test::runVistrel;

class SftpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!sftpAvailable()) GTEST_SKIP() << "the network library has no SFTP";
    try {
      server_.emplace();
    } catch (const std::runtime_error& error) {
      GTEST_SKIP() << "the OpenSSH server cannot run here: " << error.what();
    }
    if (const char* home = std::getenv("HOME")) home_ = home;
    ::setenv("HOME", server_->clientHome().c_str(), 1);
    // The key logs in; the password is never needed.
    SiteList sites;
    sites.lines() = {siteLine({"Secure", "sftp://127.0.0.1", server_->user(), encipherPassword("unused"),
                               std::to_string(server_->port()), "/gallery"})};
    sites.save();
    gallery_.write("index.html", "<html></html>");
    gallery_.write("photo one.jpg", std::string(70000, '\x5A'));
  }
  void TearDown() override {
    if (home_) ::setenv("HOME", home_->c_str(), 1);
  }

  test::ProgramResult upload(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"ftp", "--site", "Secure"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(gallery_.path().string());
    return runVistrel(args);
  }

  test::IsolatedUser user_;
  std::optional<test::SshServer> server_;
  std::optional<std::string> home_;
  test::TempFolder gallery_;
};

TEST_F(SftpTest, UploadsAGalleryAndRecordsTheHostKeyOnFirstContact) {
  const std::string otherServer = "[192.0.2.1]" + server_->forgedKnownHostsLine().substr(11);
  fs::create_directories(user_.config());
  platform::writeFileAtomically(user_.config() / "known_hosts", otherServer);
  auto result = upload();
  EXPECT_EQ(result.status, 0) << result.err;
  for (const char* name : {"index.html", "photo one.jpg"}) {
    ASSERT_TRUE(fs::exists(server_->root() / "gallery" / name)) << name << "\n" << result.err;
    EXPECT_EQ(platform::readFile(server_->root() / "gallery" / name), platform::readFile(gallery_ / name));
  }
  EXPECT_NE(result.err.find("First connection to 127.0.0.1:" + std::to_string(server_->port())), std::string::npos)
      << result.err;
  EXPECT_TRUE(platform::readFile(user_.config() / "known_hosts").starts_with(otherServer));
  for (const auto& entry : fs::directory_iterator(user_.config())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".vistrel-tmp-")) << entry.path();
  }

  result = upload({"--only-changed"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("2 files are unchanged on the server."), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("First connection"), std::string::npos);
}

TEST_F(SftpTest, AChangedHostKeyIsRefused) {
  fs::create_directories(user_.config());
  platform::writeFileAtomically(user_.config() / "known_hosts", server_->forgedKnownHostsLine());
  const auto result = upload();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("differs from the one recorded in"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(server_->root() / "gallery"));
}

}  // namespace
}  // namespace vistrel::ftp
