#include <gtest/gtest.h>

#include <random>

#include "platform/files.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;
using platform::readFile;

class CryptoCommandTest : public ::testing::Test {
 protected:
  IsolatedUser user;
  TempFolder folder;
  fs::path out = folder / "out";
  // The line break is not part of the password.
  std::string passwordFile = folder.write("key.txt", "open sesame\r\nsecond line").string();

  void SetUp() override { fs::create_directory(out); }
};

TEST_F(CryptoCommandTest, EveryAlgorithmRoundTripsThroughTheCommands) {
  std::mt19937 random(3);
  std::string content(8192 + 13, '\0');
  for (char& c : content) c = char(random());
  for (const char* algorithm : {"Blowfish", "Cast128", "Gost", "Idea", "Misty1", "RC2", "Rijndael", "Twofish"}) {
    SCOPED_TRACE(algorithm);
    const fs::path source = folder.write(std::string(algorithm) + ".jpg", content);
    const auto encrypted = runVistrel({"encrypt", "--algorithm", algorithm, "--password-file", passwordFile, "--delete",
                                       source.string()});
    ASSERT_EQ(encrypted.status, 0) << encrypted.err;
    EXPECT_EQ(encrypted.out, (folder / (std::string(algorithm) + ".VXX")).string() + "\n");
    EXPECT_FALSE(fs::exists(source));
    const auto decrypted = runVistrel({"decrypt", "--password-file", passwordFile, "--to", out.string(),
                                       (folder / (std::string(algorithm) + ".VXX")).string()});
    ASSERT_EQ(decrypted.status, 0) << decrypted.err;
    EXPECT_EQ(readFile(out / (std::string(algorithm) + ".jpg")), content);
  }
}

TEST_F(CryptoCommandTest, AWrongPasswordFailsThatFileAndWritesNothing) {
  const fs::path photo = folder.write("photo.jpg", "photo");
  ASSERT_EQ(runVistrel({"encrypt", "--password-file", passwordFile, photo.string()}).status, 0);
  const fs::path wrong = folder.write("wrong.txt", "open sesame!\n");
  const auto result = runVistrel({"decrypt", "--password-file", wrong.string(), "--to", out.string(),
                                  (folder / "photo.VXX").string(), (folder / "missing.VXX").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find((folder / "photo.VXX").string() + ": Invalid password"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find((folder / "missing.VXX").string() + ": Unable to open source file"), std::string::npos);
  EXPECT_EQ(result.err.find("open sesame"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(CryptoCommandTest, MistakesOnTheCommandLine) {
  const std::string photo = folder.write("photo.jpg", "photo").string();
  EXPECT_EQ(runVistrel({"encrypt", "--algorithm", "DES", "--password-file", passwordFile, photo}).status, 2);
  EXPECT_EQ(runVistrel({"encrypt", "--password-file", passwordFile}).status, 2);
  const auto noTerminal = runVistrel({"encrypt", photo});
  EXPECT_EQ(noTerminal.status, 2);
  EXPECT_NE(noTerminal.err.find("--password-file"), std::string::npos);
  EXPECT_EQ(runVistrel({"decrypt", "--help"}).status, 0);
  EXPECT_FALSE(fs::exists(folder / "photo.VXX"));
}

}  // namespace
}  // namespace vistrel::test
