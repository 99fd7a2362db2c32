#include "tools/crypto/gxe_crypto.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include "platform/error.h"
#include "platform/files.h"
#include "reference_vxx.h"
#include "support/temp_folder.h"
#include "tools/crypto/cipher_table.h"

namespace vistrel::crypto {
namespace {

namespace fs = std::filesystem;
using platform::readFile;

constexpr const char* kBlowfishMarker = "q21BE044E7F5EE40FDC9E9B88A6C189F5BAE059C";
constexpr const char* kRijndaelMarker = "q29870A428332CA853F4CE18BA9AE146BF13D6A2";

std::string noise(std::size_t size, unsigned seed = 1) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = char(random());
  return bytes;
}

std::size_t entries(const fs::path& folder) {
  return std::size_t(std::distance(fs::directory_iterator(folder), {}));
}

std::string errorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

class GxeCryptoTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  fs::path out = folder / "out";
  TGXECrypto crypto;

  void SetUp() override { fs::create_directory(out); }
};

class RoundTrip : public GxeCryptoTest, public ::testing::WithParamInterface<std::tuple<int, std::size_t>> {};

TEST_P(RoundTrip, DecryptsToTheSameBytes) {
  const auto [algorithm, size] = GetParam();
  const std::string content = noise(size, unsigned(size));
  const fs::path encrypted = crypto.EncryptFile(folder.write("photo.jpg", content), algorithm, "p\xC3\xA4ss");
  EXPECT_EQ(encrypted, folder / "photo.VXX");
  EXPECT_EQ(fs::file_size(encrypted), 574 + size);
  EXPECT_TRUE(TGXECrypto::IsFile_Vistrel_Encrypted(encrypted));
  const auto result = crypto.DecryptFile(encrypted, out, "p\xC3\xA4ss");
  EXPECT_EQ(result.path, out / "photo.jpg");
  EXPECT_EQ(readFile(result.path), content);
  EXPECT_EQ(entries(out), 1u);
}

INSTANTIATE_TEST_SUITE_P(EveryCipherAndPieceBoundary, RoundTrip,
                         ::testing::Combine(::testing::Range(0, 8),
                                            ::testing::Values(0, 1, 7, 8, 15, 16, 17, 8191, 8192, 8193, 1 << 20)));

// The whole file, byte for byte, as an implementation of the format over
// another library writes it: a 64-bit and a 128-bit cipher, with short tails
// in the name field and at the end of the contents.
TEST_F(GxeCryptoTest, WritesWhatAnIndependentImplementationWrites) {
  const std::string content = noise(2 * 8192 + 13);
  const fs::path source = folder.write("holiday.jpg", content);
  test::ReferenceVxx blowfish(GCRY_CIPHER_BLOWFISH, 32, kBlowfishMarker, "correct horse");
  EXPECT_EQ(readFile(crypto.EncryptFile(source, 0, "correct horse")), blowfish.encrypt("holiday.jpg", content));
  test::ReferenceVxx rijndael(GCRY_CIPHER_AES256, 32, kRijndaelMarker, "correct horse");
  const std::string written = readFile(crypto.EncryptFile(source, 6, "correct horse"));
  EXPECT_EQ(written, rijndael.encrypt("holiday.jpg", content));
  const auto [name, decrypted] = rijndael.decrypt(written);
  EXPECT_EQ(name, "holiday.jpg" + std::string(501 - 11, '\0'));
  EXPECT_EQ(decrypted, content);
}

TEST_F(GxeCryptoTest, EncryptedNamesAndProgress) {
  EXPECT_EQ(TGXECrypto::EncryptedPath("/a/photo.jpg"), "/a/photo.VXX");
  EXPECT_EQ(TGXECrypto::EncryptedPath("/a/README"), "/a/README.VXX");
  EXPECT_EQ(TGXECrypto::EncryptedPath("/a/x.tar.gz"), "/a/x.tar.VXX");
  std::vector<int> percents;
  crypto.OnProgress = [&](int percent) {
    percents.push_back(percent);
    throw std::runtime_error("a failing display");  // ignored
  };
  crypto.EncryptFile(folder.write("full.bin", noise(8192)), 0, "pw");
  EXPECT_EQ(percents, (std::vector<int>{0, 100, 100}));  // one full piece, then an empty read
  percents.clear();
  crypto.EncryptFile(folder.write("empty.bin", ""), 0, "pw");
  EXPECT_EQ(percents, (std::vector<int>{0, 100}));
}

// A source whose encrypted name is itself would be replaced by its own encryption.
TEST_F(GxeCryptoTest, RefusesToEncryptOverTheSource) {
  const fs::path source = folder.write("notes.VXX", "plain text");
  EXPECT_EQ(errorOf([&] { crypto.EncryptFile(source, 0, "pw"); }), "Unable to open the DEST file");
  EXPECT_EQ(readFile(source), "plain text");
  EXPECT_EQ(errorOf([&] { crypto.EncryptFile(folder / "missing.jpg", 0, "pw"); }), "Unable to open the SOURCE file");
}

TEST_F(GxeCryptoTest, AMarkerNeedsAllItsFortyOneBytes) {
  const std::string marker = char(40) + std::string(kRijndaelMarker);
  EXPECT_TRUE(TGXECrypto::IsFile_Vistrel_Encrypted(folder.write("a.VXX", marker)));
  EXPECT_FALSE(TGXECrypto::IsFile_Vistrel_Encrypted(folder.write("b.VXX", marker.substr(0, 40))));
  EXPECT_FALSE(TGXECrypto::IsFile_Vistrel_Encrypted(folder.write("c.VXX", char(40) + std::string(40, 'Q'))));
  EXPECT_FALSE(TGXECrypto::IsFile_Vistrel_Encrypted(out));
}

// Each failure leaves the destination as it was: no file under the stored
// name and no temporary file.
TEST_F(GxeCryptoTest, WrongPasswordsAndDamagedFilesWriteNothing) {
  const fs::path encrypted = crypto.EncryptFile(folder.write("photo.jpg", noise(3000)), 3, "right");
  const std::string bytes = readFile(encrypted);
  const struct {
    std::string file;
    const char* password;
    const char* message;
  } cases[] = {
      {bytes, "wrong", "Invalid password"},
      {bytes.substr(0, 60), "right", "Stream read error"},
      {bytes.substr(0, 300), "right", "Stream read error"},
      {"Hello" + bytes.substr(5), "right", "This file was not encrypted with this program"},
  };
  for (const auto& c : cases) {
    const fs::path damaged = folder.write("damaged.VXX", c.file);
    EXPECT_EQ(errorOf([&] { crypto.DecryptFile(damaged, out, c.password); }), c.message);
    EXPECT_EQ(entries(out), 0u) << c.message;
  }
  EXPECT_EQ(errorOf([&] { crypto.DecryptFile(folder / "gone.VXX", out, "right"); }), "Unable to open source file");
}

// Names come from the file: whatever they hold, the result lands in the destination.
TEST_F(GxeCryptoTest, StoredNamesAreReducedToBareNames) {
  const struct {
    std::string stored;
    const char* lands;
  } cases[] = {
      {"../x.jpg", "x.jpg"}, {"/etc/passwd", "passwd"}, {"a/b\\c.jpg", "c.jpg"},
      {std::string("y.jpg\0/../../z", 14), "y.jpg"}, {"..", "hostile"}, {"", "hostile"},
  };
  test::ReferenceVxx reference(GCRY_CIPHER_BLOWFISH, 32, kBlowfishMarker, "pw");
  for (const auto& c : cases) {
    const fs::path hostile = folder.write("hostile.VXX", reference.encrypt(c.stored, "data"));
    const auto result = crypto.DecryptFile(hostile, out, "pw");
    EXPECT_EQ(result.path, out / c.lands);
    EXPECT_EQ(readFile(out / c.lands), "data");
    fs::remove(result.path);
    EXPECT_EQ(entries(out), 0u);
    EXPECT_EQ(entries(folder.path()), 2u);  // out/ and hostile.VXX
  }
}

// A taken name is replaced when the handler says so; otherwise, and always
// when it is the encrypted file itself, the data goes beside it.
TEST_F(GxeCryptoTest, ATakenNameIsReplacedOnlyWhenAllowed) {
  const fs::path encrypted = crypto.EncryptFile(folder.write("photo.jpg", "new"), 0, "pw");
  fs::path asked;
  crypto.OnFileExists = [&](const fs::path& target) {
    asked = target;
    return false;
  };
  const auto kept = crypto.DecryptFile(encrypted, folder.path(), "pw");
  EXPECT_EQ(asked, folder / "photo.jpg");
  EXPECT_TRUE(kept.keptBeside());
  EXPECT_EQ(kept.path, folder / "photo (2).jpg");
  EXPECT_EQ(readFile(kept.path), "new");
  crypto.OnFileExists = [](const fs::path&) { return true; };
  folder.write("photo.jpg", "old");
  EXPECT_FALSE(crypto.DecryptFile(encrypted, folder.path(), "pw").keptBeside());
  EXPECT_EQ(readFile(folder / "photo.jpg"), "new");

  test::ReferenceVxx reference(GCRY_CIPHER_BLOWFISH, 32, kBlowfishMarker, "pw");
  const std::string itself = reference.encrypt("self.VXX", "data");
  const fs::path self = folder.write("self.VXX", itself);
  EXPECT_EQ(crypto.DecryptFile(self, folder.path(), "pw").path, folder / "self (2).VXX");
  EXPECT_EQ(readFile(self), itself);
}

TEST_F(GxeCryptoTest, ADecryptionKilledMidwayLeavesNothingUnderTheStoredName) {
  const fs::path encrypted = crypto.EncryptFile(folder.write("big.bin", noise(1 << 20)), 7, "pw");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    crypto.OnProgress = [](int percent) {
      if (percent >= 50) ::_exit(0);
    };
    crypto.DecryptFile(encrypted, out, "pw");
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(fs::exists(out / "big.bin"));
}

}  // namespace
}  // namespace vistrel::crypto
