#include <gtest/gtest.h>

#include "gallery/imaging_codec.h"
#include "imaging/image_file.h"
#include "run_program.h"
#include "support/processes.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

struct MailCommandTest : ::testing::Test {
  IsolatedUser user;
  TempFolder folder;
  int port = freePort();
  std::string url = "smtp://127.0.0.1:" + std::to_string(port);
  pid_t server = startServer({"/usr/bin/python3", VISTREL_MAIL_TEST_DIR "/smtp_server.py", std::to_string(port),
                              (folder / "maildir").string(), "open"},
                             port, folder / "server.log");
  ~MailCommandTest() override { stopServer(server); }

  std::string photo(const std::string& name, int w, int h) {
    gallery::ImagingCodec codec;
    return folder.write(name, codec.encodeJpeg(gallery::RgbImage(w, h), 80)).string();
  }
};

TEST_F(MailCommandTest, ThreePhotosResizedTo400ArriveInOneMessage) {
  const std::string body = folder.write("body.txt", "Our holiday").string();
  const auto sent = runVistrel({"mail", "--to", "ann@example.org;bob@example.org", "--subject", "Holiday",
                                "--body-file", body, "--resize", "400", "--smtp", url, "--from", "me@example.org",
                                photo("wide.jpg", 1600, 1200), photo("tall.jpg", 1200, 1600),
                                photo("small.jpg", 300, 500)});
  ASSERT_EQ(sent.status, 0) << sent.err;
  EXPECT_TRUE(sent.out.starts_with("250")) << sent.out;
  const fs::path received = folder / "received";
  fs::create_directory(received);
  const auto read = runCommand(
      {"/usr/bin/python3", VISTREL_MAIL_TEST_DIR "/read_mail.py", (folder / "maildir").string(), received.string()});
  ASSERT_EQ(read.status, 0) << read.output;
  EXPECT_NE(read.output.find("messages: 1\n"), std::string::npos) << read.output;
  EXPECT_NE(read.output.find("Subject: Holiday\nBody: 'Our holiday'"), std::string::npos) << read.output;
  const std::pair<const char*, std::pair<int, int>> sizes[] = {
      {"wide.jpg", {400, 300}}, {"tall.jpg", {300, 400}}, {"small.jpg", {300, 500}}};
  for (const auto& [name, size] : sizes) {
    const auto header = imaging::ReadImageHeader(received / name);
    EXPECT_EQ(std::pair(header.width, header.height), size) << name;
  }
}

TEST_F(MailCommandTest, RefusalsAndMistakes) {
  const std::string file = photo("a.jpg", 64, 48);
  const auto comma = runVistrel({"mail", "--to", "ann@example.org,bob@example.org", "--smtp", url, "--from",
                                 "me@example.org", file});
  EXPECT_EQ(comma.status, 1);
  EXPECT_NE(comma.err.find("separated by a semicolon"), std::string::npos) << comma.err;
  EXPECT_EQ(comma.err.find("connected"), std::string::npos) << comma.err;
  EXPECT_FALSE(fs::exists(folder / "maildir" / "new") && !fs::is_empty(folder / "maildir" / "new"));

  EXPECT_EQ(runVistrel({"mail", file}).status, 2);
  EXPECT_EQ(runVistrel({"mail", "--to", "a@b.org", "--resize", "100", file}).status, 2);
  EXPECT_EQ(runVistrel({"mail", "--to", "a@b.org", "--sharpen", file}).status, 2);
  EXPECT_EQ(runVistrel({"mail", "--help"}).status, 0);
}

}  // namespace
}  // namespace vistrel::test
