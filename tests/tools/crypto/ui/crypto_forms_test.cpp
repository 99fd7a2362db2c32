#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/files.h"
#include "support/form_test.h"
#include "tools/crypto/gxe_crypto.h"
#include "tools/crypto/ui/decrypt_form.h"
#include "tools/crypto/ui/encrypt_form.h"

namespace vistrel::crypto::ui {
namespace {

namespace fs = std::filesystem;

using CryptoFormsTest = test::FormTest;

TEST_F(CryptoFormsTest, EncryptNeedsTwoEqualPasswordsAndEnterMovesToTheSecond) {
  TfmEncrypt form(nullptr, prompter, store);
  EXPECT_EQ(form.windowTitle(), "Encrypt File(s)");
  ASSERT_EQ(form.cbAlgorithm->count(), 8);
  EXPECT_EQ(form.cbAlgorithm->itemText(6), "RijnDael");
  EXPECT_EQ(form.cbDelete->text(), "&Delete original file(s) after encryption");
  form.show();
  form.edPassword->setFocus();
  QTest::keyClicks(form.edPassword, "secret");
  EXPECT_FALSE(form.btnEncrypt->isEnabled());
  QTest::keyClick(form.edPassword, Qt::Key_Return);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.focusWidget(), form.edPasswordCheck);
  QTest::keyClicks(form.edPasswordCheck, "secre");
  EXPECT_FALSE(form.btnEncrypt->isEnabled());
  QTest::keyClicks(form.edPasswordCheck, "t");
  EXPECT_TRUE(form.btnEncrypt->isEnabled());
}

// The choices come from the key and go back to it after the batch; the password never does.
TEST_F(CryptoFormsTest, EncryptRunsTheFilesAndStoresTheChoices) {
  auto key = store.openKey("Software\\Kelmora\\Vistrel\\Encrypt", true);
  key->writeInteger("Algorithm", 7);
  key->writeBool("Prompt", true);
  key->writeBool("ReadOnly", true);
  key->writeBool("Delete", false);
  TfmEncrypt form(nullptr, prompter, store);
  EXPECT_EQ(form.cbAlgorithm->currentIndex(), 7);
  EXPECT_FALSE(form.cbDelete->isChecked());
  form.cbAlgorithm->setCurrentIndex(4);
  form.cbDelete->setChecked(true);
  form.edPassword->setText("s3cret-phrase");
  form.Files = {folder.write("a.jpg", "a"), folder.write("b.jpg", "b")};
  EXPECT_EQ(form.EncryptFiles().done, 2);
  EXPECT_FALSE(fs::exists(folder / "a.jpg"));
  EXPECT_TRUE(TGXECrypto::IsFile_Vistrel_Encrypted(folder / "b.VXX"));
  store.flush();
  EXPECT_EQ(platform::readFile(store.file()).find("s3cret-phrase"), std::string::npos);
  EXPECT_EQ(key->readInteger("Algorithm"), 4);
  EXPECT_TRUE(key->readBool("Delete"));
}

TEST_F(CryptoFormsTest, DecryptNeedsAPasswordAndShowsWhatStoppedTheBatch) {
  const fs::path encrypted = TGXECrypto().EncryptFile(folder.write("a.jpg", "a"), 0, "right");
  fs::remove(folder / "a.jpg");
  TfmDecrypt form(nullptr, prompter, store);
  EXPECT_EQ(form.windowTitle(), "Decrypt File(s)");
  EXPECT_FALSE(form.btnDecrypt->isEnabled());
  form.edPassword->setText("wrong");
  EXPECT_TRUE(form.btnDecrypt->isEnabled());
  form.Files = {encrypted};
  EXPECT_EQ(form.DecryptFiles().failed, 1);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "Invalid password");
  EXPECT_TRUE(fs::exists(encrypted));
  EXPECT_FALSE(fs::exists(folder / "a.jpg"));
}

}  // namespace
}  // namespace vistrel::crypto::ui
