#include "tools/rename/ui/rename_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "support/form_test.h"

namespace vistrel::rename::ui {
namespace {

namespace fs = std::filesystem;

using RenameFormTest = test::FormTest;

TEST_F(RenameFormTest, SampleFollowsEveryControlAndRefusedCharactersAreNotTaken) {
  TRenameForm form(nullptr, prompter, store, nullptr);
  EXPECT_EQ(form.windowTitle(), "Rename files");
  EXPECT_EQ(form.FNameEdit->currentText(), "%d");
  EXPECT_TRUE(form.DateCombo->isEnabled());
  form.FNameEdit->setEditText("");
  QTest::keyClicks(form.FNameEdit->lineEdit(), "Img/00:#");
  EXPECT_EQ(form.FNameEdit->currentText(), "Img00#");
  EXPECT_FALSE(form.DateCombo->isEnabled());
  form.StartNumber->setValue(7);
  form.SpinDigits->setValue(3);
  form.cbLowerCase->setChecked(true);
  EXPECT_EQ(form.DirLabel->text(), "Sample output: img00007");
}

TEST_F(RenameFormTest, OkRenamesTellsEachFileAndKeepsTheSettings) {
  const fs::path a = folder.write("a.jpg", "a"), b = folder.write("b.jpg", "b");
  std::vector<std::pair<fs::path, fs::path>> told;
  {
    TRenameForm form(nullptr, prompter, store, nullptr);
    form.FNameEdit->setEditText("trip_#");
    form.Files = {a, b};
    form.FileRenamed = [&](const fs::path& from, const fs::path& to) { told.emplace_back(from, to); };
    form.btnOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.renameResult().renamed.size(), 2u);
  }
  EXPECT_EQ(told, (std::vector<std::pair<fs::path, fs::path>>{{a, folder / "trip_1.jpg"}, {b, folder / "trip_2.jpg"}}));
  TRenameForm again(nullptr, prompter, store, nullptr);
  EXPECT_EQ(again.FNameEdit->currentText(), "trip_#");
}

}  // namespace
}  // namespace vistrel::rename::ui
