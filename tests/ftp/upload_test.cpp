#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cstdlib>
#include <memory>
#include <set>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ftp/clear_text_warning.h"
#include "ftp/ftp_client.h"
#include "ftp/password_cipher.h"
#include "ftp/uploader.h"
#include "ftp_server.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::ftp {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using test::FtpServer;

std::string bytesOfSize(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
  return bytes;
}

Site siteFor(int port, std::string directory, std::string host = "127.0.0.1") {
  return {"Test", std::move(host), test::kFtpUser, encipherPassword(test::kFtpPassword), std::to_string(port),
          std::move(directory)};
}

// Collects what an upload reports; the log may be written from a worker thread.
struct Recorder {
  std::mutex mutex;
  std::vector<std::string> lines;
  std::vector<std::string> progress;

  UploadEvents events() {
    return {[this](const std::string& line) {
              std::lock_guard lock(mutex);
              lines.push_back(line);
            },
            [this](int panel, const std::string& text) {
              std::lock_guard lock(mutex);
              if (panel == 1 && !text.empty()) progress.push_back(text);
            },
            {}};
  }
  bool logged(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  bool loggedStarting(const std::string& start) const {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); });
  }
  std::string all() const {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
  }
};

// One server per test process (each test runs in a process of its own under CTest).
class UploadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<FtpServer>(); }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    {
      // The user has seen the warning about passwords over plain FTP before.
      test::ScriptedPrompter seen;
      platform::SettingsStore store;
      warnOfPasswordInClear(siteFor(0, ""), seen, store);
    }
    gallery_.write("index.html", "<html>gallery</html>\r\n");
    gallery_.write("image 1.jpg", bytesOfSize(300000, 1));
    gallery_.write("tn_image 1.jpg", bytesOfSize(4000, 2));
    gallery_.write("empty.txt", "");
    gallery_.write(".hidden", "not for the server");
    gallery_.write("sub/skipped.jpg", "sub-folders are not sent");
  }

  UploadResult upload(const Site& site, FtpOptions options = {}) {
    Uploader uploader(prompter_, recorder_.events());
    return uploader.run(site, gallery_.path(), options);
  }

  void expectSameFiles(const fs::path& remote) {
    for (const char* name : {"index.html", "image 1.jpg", "tn_image 1.jpg", "empty.txt"}) {
      ASSERT_TRUE(fs::exists(remote / name)) << name << "\n" << recorder_.all();
      EXPECT_EQ(platform::readFile(remote / name), platform::readFile(gallery_ / name)) << name;
    }
    EXPECT_FALSE(fs::exists(remote / ".hidden"));
    EXPECT_FALSE(fs::exists(remote / "sub"));
  }

  // The files the server stored while the call ran.
  static std::set<std::string> storedDuring(const std::function<void()>& call) {
    const std::size_t before = server_->storedFiles().size();
    call();
    const auto after = server_->storedFiles();
    return {after.begin() + static_cast<std::ptrdiff_t>(before), after.end()};
  }

  static FtpOptions onlyChanged(bool removeDeleted = false) {
    FtpOptions options;
    options.onlyChanged = true;
    options.removeDeleted = removeDeleted;
    return options;
  }

  static std::unique_ptr<FtpServer> server_;
  test::IsolatedUser user_;  // the upload manifests go to its configuration folder
  test::TempFolder gallery_;
  test::ScriptedPrompter prompter_;
  Recorder recorder_;
};

std::unique_ptr<FtpServer> UploadTest::server_;

TEST_F(UploadTest, SendsTheFilesOfTheFolderIntoANewRemoteFolderInPassiveMode) {
  EXPECT_EQ(upload(siteFor(server_->port(), "/gallery")), UploadResult::Done) << recorder_.all();
  expectSameFiles(server_->root() / "gallery");
  EXPECT_TRUE(recorder_.logged("Connected to 127.0.0.1.."));
  EXPECT_TRUE(recorder_.logged("MKD gallery")) << "the leading / goes";
  EXPECT_TRUE(recorder_.logged("image 1.jpg has been uploaded."));
  EXPECT_TRUE(recorder_.logged("PASS ********")) << "the password never reaches the log";
  EXPECT_FALSE(recorder_.loggedStarting("PASS ftppass"));
  EXPECT_EQ(recorder_.lines.back(), "Disconnected");
  EXPECT_NE(std::find(recorder_.progress.begin(), recorder_.progress.end(), "292 of 292 KB transferred"),
            recorder_.progress.end());
}

TEST_F(UploadTest, NamesBeyondAsciiArriveAsTheyAreOnDisk) {
  const std::string name = "\u0141\u00f3d\u017a \u2013 zima #1.jpg";
  gallery_.write(name, bytesOfSize(5000, 3));
  EXPECT_EQ(upload(siteFor(server_->port(), "/zima \u00e9t\u00e9")), UploadResult::Done) << recorder_.all();
  // The server lists UTF8 among its features, so the client asks for it.
  EXPECT_TRUE(recorder_.logged("OPTS UTF8 ON")) << recorder_.all();
  const fs::path remote = server_->root() / "zima \u00e9t\u00e9";
  ASSERT_TRUE(fs::exists(remote / name)) << recorder_.all();
  EXPECT_EQ(platform::readFile(remote / name), platform::readFile(gallery_ / name));
  EXPECT_TRUE(recorder_.logged(name + " has been uploaded."));
}

TEST_F(UploadTest, SendsTheFilesInActiveMode) {
  FtpOptions options;
  options.passiveMode = false;
  EXPECT_EQ(upload(siteFor(server_->port(), "active"), options), UploadResult::Done) << recorder_.all();
  expectSameFiles(server_->root() / "active");
  EXPECT_TRUE(recorder_.loggedStarting("EPRT") || recorder_.loggedStarting("PORT")) << recorder_.all();
}

TEST_F(UploadTest, TheProxyCarriesEveryConnection) {
  test::TunnelProxy proxy;
  FtpOptions options;
  options.useProxy = true;
  options.proxy = "127.0.0.1";
  options.proxyPort = proxy.port();
  EXPECT_EQ(upload(siteFor(server_->port(), "proxied"), options), UploadResult::Done) << recorder_.all();
  expectSameFiles(server_->root() / "proxied");
  const std::string tunnels = proxy.tunnels();
  EXPECT_TRUE(tunnels.starts_with("127.0.0.1:" + std::to_string(server_->port()) + "\n")) << tunnels;
  // The data connections of the four files go through it too.
  EXPECT_EQ(std::count(tunnels.begin(), tunnels.end(), '\n'), 5) << tunnels;
}

TEST_F(UploadTest, RootFolderStaysRoot) {
  prompter_.expect("already exists", Answer::Yes);  // MKD / always fails
  EXPECT_EQ(upload(siteFor(server_->port(), "/")), UploadResult::Done) << recorder_.all();
  expectSameFiles(server_->root());
}

TEST_F(UploadTest, ExistingRemoteFolderIsUsedAfterTheWarning) {
  fs::create_directories(server_->root() / "old");
  platform::writeFileAtomically(server_->root() / "old" / "index.html", "stale");
  prompter_.expect("The remote target folder already exists.", Answer::Yes);
  EXPECT_EQ(upload(siteFor(server_->port(), "old")), UploadResult::Done) << recorder_.all();
  EXPECT_TRUE(recorder_.logged("Directory exists"));
  expectSameFiles(server_->root() / "old");
}

TEST_F(UploadTest, NoToTheWarningSendsNothing) {
  fs::create_directories(server_->root() / "keep");
  platform::writeFileAtomically(server_->root() / "keep" / "index.html", "theirs");
  prompter_.expect("Existing files will be overwritten. Continue?", Answer::No);
  EXPECT_EQ(upload(siteFor(server_->port(), "keep")), UploadResult::Declined) << recorder_.all();
  EXPECT_EQ(platform::readFile(server_->root() / "keep" / "index.html"), "theirs");
  EXPECT_FALSE(fs::exists(server_->root() / "keep" / "image 1.jpg"));
  EXPECT_EQ(recorder_.lines.back(), "Disconnected");
}

TEST_F(UploadTest, WithoutTheWarningAnExistingFolderIsUsedSilently) {
  fs::create_directories(server_->root() / "quiet");
  FtpOptions options;
  options.promptOverwrite = false;
  EXPECT_EQ(upload(siteFor(server_->port(), "quiet"), options), UploadResult::Done) << recorder_.all();
  EXPECT_TRUE(recorder_.logged("Directory exists"));
  expectSameFiles(server_->root() / "quiet");
}

TEST_F(UploadTest, AFolderThatCannotBeEnteredEndsTheUpload) {
  // A file where the folder should be: MKD fails and so does CWD.
  platform::writeFileAtomically(server_->root() / "blocked", "a file");
  prompter_.expect("already exists", Answer::Yes);
  EXPECT_EQ(upload(siteFor(server_->port(), "blocked")), UploadResult::CannotChangeDirectory) << recorder_.all();
  EXPECT_TRUE(recorder_.logged("Cannot change to specified directory."));
  EXPECT_EQ(recorder_.lines.back(), "Disconnected");
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].caption, "FTP error");
  EXPECT_EQ(prompter_.shown()[0].text, "Cannot change to the specified directory.\n\nOperation aborted.");
  EXPECT_EQ(platform::readFile(server_->root() / "blocked"), "a file");
}

TEST_F(UploadTest, AFileTheServerRefusesIsNotReportedAsUploaded) {
  // A folder on the server where a file should go: its STOR fails.
  fs::create_directories(server_->root() / "partly" / "index.html");
  FtpOptions options;
  options.promptOverwrite = false;
  EXPECT_EQ(upload(siteFor(server_->port(), "partly"), options), UploadResult::Incomplete) << recorder_.all();
  EXPECT_FALSE(recorder_.logged("index.html has been uploaded.")) << recorder_.all();
  EXPECT_TRUE(recorder_.logged("tn_image 1.jpg has been uploaded.")) << "the files after it still go";
  EXPECT_EQ(platform::readFile(server_->root() / "partly" / "tn_image 1.jpg"),
            platform::readFile(gallery_ / "tn_image 1.jpg"));
  EXPECT_TRUE(recorder_.logged("3 of 4 files uploaded.")) << recorder_.all();
}

// Every file below a folder by relative path, without hidden ones, with its bytes.
std::map<std::string, std::string> visibleTree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    if (it->path().filename().string().starts_with('.')) {
      it.disable_recursion_pending();
    } else if (it->is_regular_file()) {
      files[fs::relative(it->path(), root).string()] = platform::readFile(it->path());
    }
  }
  return files;
}

TEST_F(UploadTest, AGallerysSubfoldersGoUpWithItsFiles) {
  gallery_.write("thumbnails/tn a.jpg", bytesOfSize(3000, 3));
  gallery_.write("images/a.jpg", bytesOfSize(9000, 4));
  gallery_.write("images/.hidden", "not for the server");
  gallery_.write(".vistrel-outputs", "thumbnails/tn a.jpg\nimages/a.jpg\nindex.html\n");
  EXPECT_EQ(upload(siteFor(server_->port(), "tree")), UploadResult::Done) << recorder_.all();
  fs::remove_all(gallery_ / "sub");  // not the gallery's: it stays at home
  EXPECT_EQ(visibleTree(server_->root() / "tree"), visibleTree(gallery_.path()));
  EXPECT_TRUE(recorder_.logged("thumbnails/tn a.jpg has been uploaded."));
  EXPECT_TRUE(recorder_.logged("6 of 6 files uploaded.")) << recorder_.all();
}

TEST_F(UploadTest, AWrongPasswordFailsTheConnection) {
  Site site = siteFor(server_->port(), "denied");
  site.passwordField = encipherPassword("wrong");
  EXPECT_EQ(upload(site), UploadResult::ConnectionFailed) << recorder_.all();
  EXPECT_TRUE(recorder_.logged("Connection failed"));
  EXPECT_TRUE(recorder_.loggedStarting("530 ")) << recorder_.all();
  EXPECT_TRUE(recorder_.loggedStarting("67: ")) << recorder_.all();
  EXPECT_FALSE(fs::exists(server_->root() / "denied"));
}

TEST_F(UploadTest, ASiteWithoutPasswordAsksForIt) {
  Site site = siteFor(server_->port(), "asked");
  site.passwordField.clear();
  prompter_.expectInput(std::string(test::kFtpPassword));
  EXPECT_EQ(upload(site), UploadResult::Done) << recorder_.all();
  expectSameFiles(server_->root() / "asked");
}

TEST_F(UploadTest, ADamagedPasswordFieldStopsBeforeConnecting) {
  Site site = siteFor(server_->port(), "never");
  site.passwordField = "abc";
  try {
    upload(site);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Base64: Incorrect string format");
  }
  EXPECT_TRUE(recorder_.lines.empty());
}

TEST_F(UploadTest, StopEndsTheTransferAndRemovesThePartialFile) {
  gallery_.write("image 1.jpg", bytesOfSize(20 * 1024 * 1024, 3));
  Uploader* running = nullptr;
  UploadEvents events = recorder_.events();
  events.status = [&](int panel, const std::string&) {
    if (panel == 1 && running) running->stop();
  };
  Uploader uploader(prompter_, events);
  running = &uploader;
  EXPECT_EQ(uploader.run(siteFor(server_->port(), "stopped"), gallery_.path(), {}), UploadResult::Stopped)
      << recorder_.all();
  // The files are sent in name order; the first one with any bytes is stopped.
  EXPECT_FALSE(fs::exists(server_->root() / "stopped" / "image 1.jpg")) << recorder_.all();
  EXPECT_FALSE(fs::exists(server_->root() / "stopped" / "index.html"));
  EXPECT_FALSE(recorder_.logged("image 1.jpg has been uploaded."));
  EXPECT_TRUE(recorder_.logged("DELE image 1.jpg")) << recorder_.all();
}

TEST_F(UploadTest, AGalleryUploadedBeforeIsNotSentAgainUnlessItChanged) {
  const Site site = siteFor(server_->port(), "/delta");
  EXPECT_EQ(storedDuring([&] { EXPECT_EQ(upload(site, onlyChanged()), UploadResult::Done) << recorder_.all(); }),
            (std::set<std::string>{"delta/empty.txt", "delta/image 1.jpg", "delta/index.html", "delta/tn_image 1.jpg"}));
  EXPECT_TRUE(recorder_.logged("No earlier upload to this folder is known: every file is sent."));

  // A gallery run rewrites pages it did not change: only their time stamp differs.
  gallery_.write("index.html", "<html>gallery</html>\r\n");
  fs::last_write_time(gallery_ / "index.html", fs::last_write_time(gallery_ / "index.html") - std::chrono::hours(1));
  EXPECT_TRUE(storedDuring([&] { EXPECT_EQ(upload(site, onlyChanged()), UploadResult::Done) << recorder_.all(); })
                  .empty());
  EXPECT_TRUE(recorder_.logged("4 files are unchanged on the server.")) << recorder_.all();

  gallery_.write("index.html", "<html>GALLERY</html>\r\n");  // the same size
  gallery_.write("new.jpg", bytesOfSize(1000, 4));
  fs::remove(server_->root() / "delta" / "tn_image 1.jpg");  // deleted on the server by hand
  EXPECT_EQ(storedDuring([&] { EXPECT_EQ(upload(site, onlyChanged()), UploadResult::Done) << recorder_.all(); }),
            (std::set<std::string>{"delta/index.html", "delta/new.jpg", "delta/tn_image 1.jpg"}));
  expectSameFiles(server_->root() / "delta");
}

TEST_F(UploadTest, RemovingFilesDeletedLocallyTouchesOnlyFilesItUploaded) {
  const Site site = siteFor(server_->port(), "/removal");
  ASSERT_EQ(upload(site, onlyChanged(true)), UploadResult::Done) << recorder_.all();
  const fs::path remote = server_->root() / "removal";
  platform::writeFileAtomically(remote / "guestbook.txt", "someone else's");
  fs::remove(gallery_ / "image 1.jpg");
  fs::remove(gallery_ / "tn_image 1.jpg");
  fs::remove(remote / "tn_image 1.jpg");  // already gone there
  EXPECT_EQ(upload(site, onlyChanged(true)), UploadResult::Done) << recorder_.all();
  EXPECT_FALSE(fs::exists(remote / "image 1.jpg"));
  EXPECT_TRUE(recorder_.logged("image 1.jpg has been deleted on the server.")) << recorder_.all();
  EXPECT_TRUE(fs::exists(remote / "guestbook.txt"));
  EXPECT_TRUE(fs::exists(remote / "index.html"));
  // Removal is a choice of its own.
  gallery_.write("gone.txt", "x");
  ASSERT_EQ(upload(site, onlyChanged()), UploadResult::Done);
  fs::remove(gallery_ / "gone.txt");
  ASSERT_EQ(upload(site, onlyChanged()), UploadResult::Done);
  EXPECT_TRUE(fs::exists(remote / "gone.txt"));
}

TEST_F(UploadTest, AnInterruptedUploadGoesOnWithWhatIsMissing) {
  const Site site = siteFor(server_->port(), "/resumed");
  Uploader* running = nullptr;
  UploadEvents events = recorder_.events();
  events.log = [&](const std::string& line) {
    if (line.ends_with(" has been uploaded.")) running->stop();
  };
  Uploader interrupted(prompter_, events);
  running = &interrupted;
  EXPECT_EQ(storedDuring([&] { EXPECT_EQ(interrupted.run(site, gallery_.path(), onlyChanged()), UploadResult::Stopped); }),
            std::set<std::string>{"resumed/empty.txt"});
  EXPECT_EQ(storedDuring([&] { EXPECT_EQ(upload(site, onlyChanged()), UploadResult::Done) << recorder_.all(); }),
            (std::set<std::string>{"resumed/image 1.jpg", "resumed/index.html", "resumed/tn_image 1.jpg"}));
  expectSameFiles(server_->root() / "resumed");
}

TEST(UploadTimeoutTest, ASilentServerTimesOut) {
  test::SilentServer silent;
  test::ScriptedPrompter prompter;
  test::TempFolder source;
  Recorder recorder;
  FtpOptions options;
  options.timeoutSeconds = 1;
  EXPECT_EQ(Uploader(prompter, recorder.events()).run(siteFor(silent.port(), "x"), source.path(), options),
            UploadResult::ConnectionFailed);
  EXPECT_TRUE(recorder.loggedStarting("28: ")) << recorder.all();
  EXPECT_TRUE(recorder.logged("Connection failed"));
}

TEST(UploadTimeoutTest, StopWakesAConnectionWaitingForASilentServer) {
  test::SilentServer silent;
  test::ScriptedPrompter prompter;
  test::TempFolder source;
  Recorder recorder;
  FtpOptions options;
  options.timeoutSeconds = 60;
  Uploader uploader(prompter, recorder.events());
  // Stopped before and while it waits: both must end it long before the time-out.
  std::thread stopper([&] { uploader.stop(); });
  EXPECT_EQ(uploader.run(siteFor(silent.port(), "x"), source.path(), options), UploadResult::Stopped);
  stopper.join();
  Uploader second(prompter, recorder.events());
  stopper = std::thread([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    second.stop();
  });
  EXPECT_EQ(second.run(siteFor(silent.port(), "x"), source.path(), options), UploadResult::Stopped);
  stopper.join();
  EXPECT_FALSE(recorder.logged("Connection failed")) << recorder.all();
}

TEST(ProtocolTest, TheSchemeOfTheAddressChoosesTheProtocol) {
  std::string host = "FTPS://secure.example/";
  EXPECT_EQ(protocolOf(host), Protocol::FtpExplicitTls);
  EXPECT_EQ(host, "secure.example");
  host = "ftp://plain.example";
  EXPECT_EQ(protocolOf(host), Protocol::Ftp);
  EXPECT_EQ(host, "plain.example");
  host = "ftpserver.example";  // a name that merely begins like a scheme stays as it is
  EXPECT_EQ(protocolOf(host), Protocol::Ftp);
  EXPECT_EQ(host, "ftpserver.example");
  host = "sftp://shell.example";
  if (sftpAvailable()) {
    EXPECT_EQ(protocolOf(host), Protocol::Sftp);
    EXPECT_EQ(host, "shell.example");
  } else {
    EXPECT_THROW(protocolOf(host), Error);
  }
}

TEST(UploadTlsTest, FtpsAddressUsesExplicitTls) {
  if (!FtpServer::tlsAvailable()) GTEST_SKIP() << "Debian's python3-openssl is missing: no TLS server";
  FtpServer server(true);
  ::setenv("CURL_CA_BUNDLE", server.certificate().c_str(), 1);
  test::ScriptedPrompter prompter;
  test::TempFolder source;
  source.write("photo.jpg", bytesOfSize(70000, 4));
  Recorder recorder;
  const auto result =
      Uploader(prompter, recorder.events()).run(siteFor(server.port(), "secure", "ftps://127.0.0.1"), source.path(), {});
  ::unsetenv("CURL_CA_BUNDLE");
  EXPECT_EQ(result, UploadResult::Done) << recorder.all();
  EXPECT_TRUE(recorder.loggedStarting("AUTH ")) << recorder.all();
  EXPECT_TRUE(recorder.logged("Connected to ftps://127.0.0.1.."));
  EXPECT_EQ(platform::readFile(server.root() / "secure" / "photo.jpg"), platform::readFile(source / "photo.jpg"));
}

TEST(UploadTlsTest, AnUntrustedCertificateIsRefused) {
  if (!FtpServer::tlsAvailable()) GTEST_SKIP() << "Debian's python3-openssl is missing: no TLS server";
  FtpServer server(true);
  test::ScriptedPrompter prompter;
  test::TempFolder source;
  Recorder recorder;
  EXPECT_EQ(Uploader(prompter, recorder.events()).run(siteFor(server.port(), "x", "ftps://127.0.0.1"), source.path(), {}),
            UploadResult::ConnectionFailed)
      << recorder.all();
  EXPECT_FALSE(recorder.loggedStarting("PASS")) << "no password before the server is trusted";
}

}  // namespace
}  // namespace vistrel::ftp
