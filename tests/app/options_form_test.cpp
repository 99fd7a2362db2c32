#include "app/options_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "app/main_form.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::app {
namespace {

using options::ProgramOptions;
using platform::SettingsStore;

class OptionsFormTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  SettingsStore store{folder / "settings.reg"};
  test::ScriptedPrompter prompter;
  ProgramOptions options = ProgramOptions::defaults(folder.path());

  std::unique_ptr<TOptionsForm> form() {
    return std::make_unique<TOptionsForm>(options, store, folder.path(), prompter);
  }

  // Opens the dialog modally and lets `act` close it.
  static int runModal(TOptionsForm& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, std::move(act));
    return dialog.exec();
  }

  bool storedBool(const char* name) { return store.openKey(platform::kProgramKey, false)->readBool(name); }
};

TEST_F(OptionsFormTest, OkWritesEveryValueAndTheAddressBook) {
  auto dialog = form();
  EXPECT_TRUE(dialog->cbReplace->isChecked());
  EXPECT_TRUE(dialog->cbResetOrientation->isChecked());
  EXPECT_EQ(dialog->spinQuality->value(), 80);
  const int result = runModal(*dialog, [&] {
    dialog->cbConfirmFileDelete->setChecked(false);
    dialog->cbResetOrientation->setChecked(false);
    dialog->spinDelay->setValue(9);
    dialog->btnOK->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_FALSE(options.confirmDelete);
  EXPECT_FALSE(storedBool("ConfirmDelete"));
  EXPECT_FALSE(storedBool("ResetExifOrientation"));
  EXPECT_FALSE(options.resetOrientation);
  EXPECT_EQ(store.openKey(platform::kProgramKey, false)->readInteger("SlideshowDelay"), 9);
  EXPECT_TRUE(std::filesystem::exists(options::addressFile(folder.path())));
}

TEST_F(OptionsFormTest, CancelPutsBackWhatWasStoredAndWritesItUnchanged) {
  auto dialog = form();
  runModal(*dialog, [&] { dialog->btnOK->click(); });  // stores the defaults once
  const int result = runModal(*dialog, [&] {
    dialog->cbReplaceExisting->setChecked(true);
    dialog->btnCancel->click();
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_FALSE(dialog->cbReplaceExisting->isChecked());
  EXPECT_FALSE(options.replaceExisting);
  EXPECT_FALSE(storedBool("ReplaceExistingFiles"));
}

TEST_F(OptionsFormTest, CancelOnTheVeryFirstOpeningAlsoUndoesTheChanges) {
  // Nothing is stored yet, so reading the store back restores nothing by itself.
  auto dialog = form();
  runModal(*dialog, [&] {
    dialog->cbFixFilenames->setChecked(false);
    dialog->btnCancel->click();
  });
  EXPECT_TRUE(options.fixFilenames);
  EXPECT_TRUE(storedBool("FixFilenames"));
}

TEST_F(OptionsFormTest, EscapeClosesAsCancelButKeepsAndWritesTheChanges) {
  auto dialog = form();
  const int result = runModal(*dialog, [&] {
    dialog->cbReplaceExisting->setChecked(true);
    dialog->setPreviewSize(120);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(options.replaceExisting);
  EXPECT_TRUE(storedBool("ReplaceExistingFiles"));
}

TEST_F(OptionsFormTest, TheStoredValuesAreReadWhenTheDialogIsCreated) {
  ProgramOptions stored = options;
  stored.cacheQuality = 40;
  stored.autoClean = false;
  stored.addresses = {"me@test"};
  writeProgramOptions(store, options::addressFile(folder.path()), stored);
  auto dialog = form();
  EXPECT_EQ(dialog->spinQuality->value(), 40);
  EXPECT_FALSE(dialog->cbRemoveOrphans->isChecked());
  ASSERT_EQ(dialog->AddrBox->count(), 1);
  EXPECT_EQ(options, stored);
}

TEST_F(OptionsFormTest, AddressesNeedAnAtSignAndMayRepeat) {
  auto dialog = form();
  prompter.expectInput("no-at-sign");
  prompter.expectInput("a@test");
  prompter.expectInput("a@test");
  prompter.expectInput(std::nullopt);
  for (int i = 0; i < 4; ++i) dialog->btnAddAddress->click();
  ASSERT_EQ(dialog->AddrBox->count(), 2);
  EXPECT_EQ(dialog->AddrBox->item(1)->text(), "a@test");
  dialog->AddrBox->item(0)->setSelected(true);
  dialog->btnDeleteAddresses->click();
  EXPECT_EQ(dialog->AddrBox->count(), 1);
}

TEST_F(OptionsFormTest, FileDateFollowsReplaceAndTheTrackBarSizesTheSample) {
  auto dialog = form();
  dialog->cbReplace->setChecked(false);
  EXPECT_FALSE(dialog->cbFileDate->isEnabled());
  dialog->cbReplace->setChecked(true);
  EXPECT_TRUE(dialog->cbFileDate->isEnabled());
  dialog->WidthTrackBar->setValue(120);
  EXPECT_EQ(dialog->PreviewPanel->geometry(), QRect(45, 45, 120, 120));
  EXPECT_EQ(dialog->PreviewPanel->text(), "120x120");
  EXPECT_EQ(dialog->previewSize(), 120);
}

class OptionsFromMainFormTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  SettingsStore store{folder / "settings.reg"};
  test::ScriptedPrompter prompter;
  TMainForm mainForm{store, prompter, folder.path()};
};

TEST_F(OptionsFromMainFormTest, ANewThumbnailSizeTakesEffectOnOkOnly) {
  TOptionsForm& dialog = mainForm.optionsForm();
  QTimer::singleShot(0, &dialog, [&] {
    dialog.WidthTrackBar->setValue(120);
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  mainForm.Options1->trigger();
  EXPECT_EQ(mainForm.thumbnailSize(), 80);
  QTimer::singleShot(0, &dialog, [&] {
    dialog.WidthTrackBar->setValue(120);
    dialog.btnOK->click();
  });
  mainForm.Options1->trigger();
  EXPECT_EQ(mainForm.thumbnailSize(), 120);
}

TEST_F(OptionsFromMainFormTest, AFontChangedInTheDialogStaysAfterCancel) {
  TOptionsForm& dialog = mainForm.optionsForm();
  QTimer::singleShot(0, &dialog, [&] {
    dialog.FontSize->setValue(12);
    dialog.btnCancel->click();
  });
  mainForm.Options1->trigger();
  EXPECT_EQ(mainForm.FileList->font().pointSize(), 12);
  EXPECT_EQ(mainForm.TreeView->font().pointSize(), 12);
}

}  // namespace
}  // namespace vistrel::app
