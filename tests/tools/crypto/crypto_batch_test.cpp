#include "tools/crypto/crypto_batch.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"
#include "tools/crypto/gxe_crypto.h"

namespace vistrel::crypto {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::readFile;

class CryptoBatchTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  test::ScriptedPrompter prompter;
  CryptoOptions options;  // the defaults: ask, ask, delete
  std::vector<std::string> skipped;
  BatchEvents events;

  void SetUp() override {
    events.skipped = [this](const fs::path& file, const std::string& reason) {
      skipped.push_back(file.filename().string() + ": " + reason);
    };
  }
};

TEST_F(CryptoBatchTest, EncryptAsksSkipsAndDeletesTheOriginals) {
  const fs::path locked = folder.write("locked.jpg", "locked");
  platform::setReadOnly(locked, true);
  const fs::path done = TGXECrypto().EncryptFile(folder.write("done.jpg", "done"), 0, "pw");
  const fs::path kept = folder.write("kept.jpg", "kept");
  folder.write("kept.VXX", "an older encryption");
  prompter.expect("is read-only.\r\rDo you want the read-only attribute to be removed so that encryption can proceed?",
                  Answer::Yes);
  prompter.expect("kept.VXX' already exists, replace?", Answer::No);
  const BatchResult result = encryptFiles({locked, done, kept}, options, "pw", prompter, events);
  EXPECT_EQ(result.done, 1);
  EXPECT_EQ(result.skipped, 2);
  EXPECT_TRUE(result.complete());
  EXPECT_FALSE(fs::exists(locked));
  EXPECT_TRUE(TGXECrypto::IsFile_Vistrel_Encrypted(folder / "locked.VXX"));
  EXPECT_EQ(readFile(folder / "kept.VXX"), "an older encryption");
  EXPECT_EQ(readFile(kept), "kept");
  EXPECT_EQ(skipped, (std::vector<std::string>{"done.VXX: already encrypted",
                                               "kept.jpg: '" + (folder / "kept.VXX").string() + "' was kept"}));
}

TEST_F(CryptoBatchTest, TheBatchEndsAtNoForReadOnlyAtAFailureAndAtAbort) {
  const fs::path a = folder.write("a.jpg", "a"), b = folder.write("b.jpg", "b");
  platform::setReadOnly(a, true);
  prompter.expect("is read-only.", Answer::No);
  BatchResult result = encryptFiles({a, b}, options, "pw", prompter, events);
  EXPECT_EQ(result.notDone, 2);
  EXPECT_FALSE(fs::exists(folder / "b.VXX"));

  result = encryptFiles({folder / "missing.jpg", b}, options, "pw", prompter, events);
  EXPECT_EQ(result.failed, 1);
  EXPECT_EQ(result.notDone, 1);

  events.aborted = [] { return true; };
  options.readOnly = false;  // the attribute goes without a question
  result = encryptFiles({a, b}, options, "pw", prompter, events);
  EXPECT_EQ(result.done, 1);
  EXPECT_EQ(result.notDone, 1);
  EXPECT_TRUE(fs::exists(folder / "a.VXX"));
  EXPECT_FALSE(fs::exists(folder / "b.VXX"));
}

TEST_F(CryptoBatchTest, DecryptDeletesTheEncryptedFileOnlyOnceItsDataIsInPlace) {
  TGXECrypto crypto;
  const fs::path first = crypto.EncryptFile(folder.write("first.jpg", "1"), 2, "pw");
  const fs::path second = crypto.EncryptFile(folder.write("second.jpg", "2"), 2, "pw");
  fs::remove(folder / "first.jpg");
  folder.write("second.jpg", "the user's newer file");
  prompter.expect("second.jpg' already exists, replace?", Answer::No);
  const BatchResult result = decryptFiles({first, second}, options, "pw", {}, prompter, events);
  EXPECT_EQ(result.done, 2);
  EXPECT_EQ(readFile(folder / "first.jpg"), "1");
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(readFile(folder / "second.jpg"), "the user's newer file");
  EXPECT_EQ(readFile(folder / "second (2).jpg"), "2");
  EXPECT_TRUE(fs::exists(second));
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_NE(prompter.shown()[0].text.find("second (2).jpg"), std::string::npos);

  const fs::path elsewhere = folder / "elsewhere";
  fs::create_directory(elsewhere);
  EXPECT_EQ(decryptFiles({second}, options, "wrong", elsewhere, prompter, events).failed, 1);
  EXPECT_TRUE(fs::exists(second));
  EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST(CryptoOptionsTest, KeptFromAFreshStartAndReadUpToTheFirstGap) {
  test::TempFolder folder;
  platform::SettingsStore store(folder / "settings.reg");
  EXPECT_EQ(readCryptoOptions(store, Direction::Encrypt).algorithm, 0);
  const CryptoOptions changed{6, false, false, false};
  writeCryptoOptions(store, Direction::Encrypt, changed);
  platform::SettingsStore again(folder / "settings.reg");
  const CryptoOptions read = readCryptoOptions(again, Direction::Encrypt);
  EXPECT_EQ(read.algorithm, 6);
  EXPECT_FALSE(read.prompt || read.readOnly || read.deleteAfter);

  auto decrypt = store.openKey("Software\\Kelmora\\Vistrel\\Decrypt", true);
  decrypt->writeBool("Prompt", false);
  const CryptoOptions partial = readCryptoOptions(store, Direction::Decrypt);
  EXPECT_FALSE(partial.prompt);
  EXPECT_TRUE(partial.readOnly && partial.deleteAfter);
}

}  // namespace
}  // namespace vistrel::crypto
